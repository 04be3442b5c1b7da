#pragma once

// The session with the embedded Python interpreter that runs the 3D packing
// scripts: running statements (packing_statements.h builds them) in the
// interpreter's __main__ namespace, evaluating the packing call and reading
// back the records it returns.
//
// Every failure on the Python side (a statement that does not run, a call
// that raises, a result of the wrong shape) becomes a std::runtime_error and
// leaves the interpreter's error state clear. The interpreter is started by
// the first Session and lives until the process ends. It is process-wide and
// its __main__ namespace is shared, so sessions on several threads take
// turns: each one holds a process-wide lock for its whole life (a thread
// may open a session inside its own).

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace bp_solver::bridge {

// One piece of a returned box: product number and type as the script wrote
// them ("unit" or "pack").
struct ResultItem {
  std::string product_no;
  std::string type;
};

// One box of a returned packing: the box type's name, none for a piece that
// fitted nowhere (the script's None, which no type's name can collide with),
// and the pieces in it.
struct ResultRecord {
  std::optional<std::string> name;
  std::vector<ResultItem> items;
};

// An open use of the interpreter: starts it when needed (without installing
// its signal handlers), makes sure the packing module can be imported without
// any setup by the caller, and holds the interpreter lock and the sessions'
// turn while it lives.
class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Runs statements in __main__. Throws std::runtime_error naming the Python
  // error when they fail.
  void run(const std::string& statements);
  // Evaluates an expression with __main__ as globals and fresh empty locals
  // and reads it as a list of result records. Throws std::runtime_error when
  // the call raises or its result has another shape.
  std::vector<ResultRecord> evaluateRecords(const std::string& expression);
  // Evaluates an expression as above and gives its truth value.
  bool evaluateTruth(const std::string& expression);

 private:
  std::unique_lock<std::recursive_mutex> turn_;
  int gilState_;
};

}  // namespace bp_solver::bridge
