#include "report/cart_views.h"

#include <set>

#include "report/markup.h"
#include "wave/stats.h"

namespace report {

namespace {

std::string td(const std::string& text) {
  return "<td>" + text;
}
std::string td(long long n) {
  return td(std::to_string(n));
}

// The figures of a walk: a planned cart's from the plan, a recorded walk's
// as measured.
stats::CartFigures figuresOf(const WalkView& view) {
  if (view.cart != nullptr) return stats::cartFigures(*view.cart);
  stats::CartFigures figures;
  std::set<int> customers;
  for (const CartOItem& line : view.lines) {
    customers.insert(line.oItem.customerID);
  }
  figures.customers = customers.size();
  figures.stops = view.walk.stops.size();
  figures.distance = static_cast<int>(view.walk.distance);
  return figures;
}

// Every box on every shelf with its goods: product and units, and whose
// they are.
std::string shelvesOf(const Cart& cart) {
  std::string html = "<h3>Shelves</h3><ol class=\"shelves\">";
  for (const CartShelf& shelf : cart.cartShelves) {
    std::string boxes;
    const items_into_boxes_decomposition& held = shelf.getBoxes();
    for (const auto* list : {&held.fullItemized, &held.oneItemized}) {
      const bool shared = list == &held.oneItemized;
      for (const Box& box : *list) {
        std::string goods;
        int owner = 0;
        for (const auto& [product, piece] : box.itemsInTheBox) {
          owner = piece.oItem.customerID;
          goods += goods.empty() ? "" : ", ";
          if (shared) goods += "customer " + std::to_string(owner) + " ";
          goods += "product " + std::to_string(product) + " &times;" +
                   std::to_string(piece.countOfUnits);
        }
        boxes += "<li>" + std::string(shared ? "shared box " : "box ") +
                 escape(box.name) +
                 (shared ? "" : " for customer " + std::to_string(owner)) +
                 ": " + goods + "</li>";
      }
    }
    html +=
        "<li>" + (boxes.empty() ? "empty" : "<ul>" + boxes + "</ul>") + "</li>";
  }
  return html + "</ol>";
}

}  // namespace

std::vector<WalkView> plannedViews(const std::list<Cart>& carts) {
  std::vector<WalkView> views;
  int number = 0;
  for (const Cart& cart : carts) {
    ++number;
    const std::string n = std::to_string(number);
    views.push_back({"cart-" + n, n, "Cart " + n, cart.cartOItems,
                     drawWalk(cart.cartOItems), &cart});
  }
  return views;
}

std::vector<WalkView> recordedViews(const std::vector<RecordedWalk>& walks) {
  std::vector<WalkView> views;
  for (const RecordedWalk& recorded : walks) {
    const std::string number = std::to_string(recorded.cart);
    views.push_back({"rec-" + number, number, "Recorded cart " + number,
                     recorded.lines, drawWalk(recorded.lines), nullptr});
  }
  return views;
}

std::string walkPaths(const std::vector<WalkView>& views, const char* group) {
  std::string svg = std::string("<g class=\"walks ") + group + "\">";
  for (std::size_t i = 0; i < views.size(); ++i) {
    const WalkView& view = views[i];
    svg += "<path class=\"walk\" id=\"walk-" + view.key + "\" data-key=\"" +
           view.key + "\"";
    if (view.cart != nullptr) {
      // Neighbouring carts in clearly different hues (golden angle).
      svg += " style=\"stroke:hsl(" + std::to_string((i * 137) % 360) +
             ",70%,38%)\"";
    }
    svg += " d=\"" + view.walk.path + "\"><title>" + view.title +
           "</title></path>";
  }
  return svg + "</g>";
}

std::string stopGroups(const std::vector<WalkView>& views, const char* group) {
  std::string svg = std::string("<g class=\"") + group + "\">";
  for (const WalkView& view : views) {
    svg += "<g class=\"stops\" id=\"stops-" + view.key + "\">" +
           stopMarkers(view.walk) + "</g>";
  }
  return svg + "</g>";
}

std::string walkList(const std::vector<WalkView>& views, const char* group) {
  const bool planned = std::string(group) == "planned";
  std::string html = std::string("<section class=\"") + group + "\"><h2>" +
                     (planned ? "Planned carts" : "Recorded carts") +
                     "</h2><table class=\"list\"><thead><tr><th>Cart"
                     "<th>Customers<th>" +
                     (planned ? "Boxes full / shared" : "Lines") +
                     "<th>Stops<th>Distance [m]</thead><tbody>";
  for (const WalkView& view : views) {
    const stats::CartFigures f = figuresOf(view);
    html += "\n<tr id=\"row-" + view.key + "\">" +
            td("<a href=\"#" + view.key + "\">" + view.number + "</a>") +
            td(static_cast<long long>(f.customers)) +
            (planned ? td(std::to_string(f.boxes.full) + " / " +
                          std::to_string(f.boxes.shared))
                     : td(static_cast<long long>(view.lines.size()))) +
            td(static_cast<long long>(f.stops)) +
            td(stats::metresText(f.distance));
  }
  return html + "</tbody></table></section>";
}

std::string walkDetails(const std::vector<WalkView>& views, const char* group) {
  std::string html;
  for (const WalkView& view : views) {
    const stats::CartFigures f = figuresOf(view);
    html += std::string("<section class=\"detail ") + group +
            "\" id=\"detail-" + view.key + "\" hidden><h2>" + view.title +
            "</h2><p>" + std::to_string(f.customers) + " customers, " +
            std::to_string(view.lines.size()) + " lines, " +
            std::to_string(f.stops) + " stops, " +
            stats::metresText(f.distance) + " m (" +
            std::to_string(f.distance) +
            " dm)</p><h3>Pick list in walking order</h3><table><thead><tr>"
            "<th>Stop<th>Address<th>Customer<th>Product<th>" +
            (view.cart != nullptr ? "Qty" : "Rank") + "</thead>";
    for (std::size_t s = 0; s < view.walk.stops.size(); ++s) {
      html += "<tbody>";
      for (std::size_t line : view.walk.stops[s].lines) {
        const CartOItem& item = view.lines[line];
        const int qty = view.cart != nullptr ? item.realQty : item.oItem.qty;
        html +=
            "\n<tr>" +
            td(line == view.walk.stops[s].lines.front() ? std::to_string(s + 1)
                                                        : std::string()) +
            td(escape(item.oItem.addressCode)) + td(item.oItem.customerID) +
            td(item.oItem.productID) + td(qty);
      }
      html += "</tbody>";
    }
    html += "</table>";
    if (view.cart != nullptr) html += shelvesOf(*view.cart);
    html += "</section>";
  }
  return html;
}

}  // namespace report
