#pragma once

#include <map>
#include <memory>

// A std::map that copies share until one of them changes: read like a const
// std::map, changed through edit(). Order lines and boxes are copied into
// every piece, shelf, cart and grouping trial that holds them, and a wave of
// large quantities holds hundreds of thousands of boxes; shared, a copy costs
// one reference instead of a copy of every entry.
//
// edit() changes the map in place only while no other copy holds it, and
// otherwise gives this copy a map of its own first. Copies on different
// threads may read one map at once; a copy that is changed belongs to the
// thread changing it.
template <typename Key, typename Value>
class SharedMap {
 public:
  using Map = std::map<Key, Value>;
  using const_iterator = typename Map::const_iterator;
  using value_type = typename Map::value_type;

  const Map& map() const {
    static const Map none;
    return shared_ ? *shared_ : none;
  }
  const_iterator begin() const { return map().begin(); }
  const_iterator end() const { return map().end(); }
  const_iterator find(const Key& key) const { return map().find(key); }
  // Throws std::out_of_range when the key is absent, as std::map::at.
  const Value& at(const Key& key) const { return map().at(key); }
  std::size_t count(const Key& key) const { return map().count(key); }
  std::size_t size() const { return map().size(); }
  bool empty() const { return map().empty(); }

  // The map of this copy alone, to change; other copies keep what they had.
  Map& edit() {
    if (!shared_) {
      shared_ = std::make_shared<Map>();
    } else if (shared_.use_count() > 1) {
      shared_ = std::make_shared<Map>(*shared_);
    }
    return *shared_;
  }

 private:
  std::shared_ptr<Map> shared_;  // null while empty and never edited
};
