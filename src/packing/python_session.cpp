#define PY_SSIZE_T_CLEAN
#include "packing/python_session.h"

#include <Python.h>
#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace bp_solver::bridge {
namespace {

// Owns one reference to a Python object and releases it when it goes.
class PyRef {
 public:
  PyRef() = default;
  // Takes over a new reference (may be null).
  explicit PyRef(PyObject* owned) : object_(owned) {}
  // Takes a reference of its own to a borrowed object.
  static PyRef borrow(PyObject* borrowed) {
    Py_XINCREF(borrowed);
    return PyRef(borrowed);
  }
  PyRef(PyRef&& other) noexcept
      : object_(std::exchange(other.object_, nullptr)) {}
  PyRef& operator=(PyRef&& other) noexcept {
    if (this != &other) {
      Py_XDECREF(object_);
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  PyRef(const PyRef&) = delete;
  PyRef& operator=(const PyRef&) = delete;
  ~PyRef() { Py_XDECREF(object_); }

  PyObject* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  PyObject* object_ = nullptr;
};

// The text of the pending Python error ("ImportError: ..."), which is then
// cleared; "unknown error" when none is pending.
std::string takePythonError() {
  if (!PyErr_Occurred()) return "unknown error";
  PyObject* rawType = nullptr;
  PyObject* rawValue = nullptr;
  PyObject* rawTrace = nullptr;
  PyErr_Fetch(&rawType, &rawValue, &rawTrace);
  PyErr_NormalizeException(&rawType, &rawValue, &rawTrace);
  PyRef type(rawType);
  PyRef value(rawValue);
  PyRef trace(rawTrace);
  std::string text = "unknown error";
  if (type && PyType_Check(type.get())) {
    text = reinterpret_cast<PyTypeObject*>(type.get())->tp_name;
  }
  if (value) {
    PyRef shown(PyObject_Str(value.get()));
    const char* utf8 = shown ? PyUnicode_AsUTF8(shown.get()) : nullptr;
    if (utf8 != nullptr && *utf8 != '\0') text += std::string(": ") + utf8;
  }
  PyErr_Clear();  // anything raised while describing the error
  return text;
}

[[noreturn]] void throwPythonError(const std::string& what) {
  throw std::runtime_error(what + ": " + takePythonError());
}

// The first line of a statement text, for error messages.
std::string firstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  return line.size() > 80 ? line.substr(0, 80) + "..." : line;
}

PyObject* mainNamespace() {
  PyObject* module = PyImport_AddModule("__main__");  // borrowed
  if (module == nullptr) throwPythonError("No __main__ module");
  PyObject* globals = PyModule_GetDict(module);  // borrowed
  if (globals == nullptr) throwPythonError("No __main__ namespace");
  return globals;
}

// Where the packing module lives: the source tree's python/ folder for a
// build tree, share/dalvenor/python beside the loaded library for an
// installed copy wherever its prefix is, or the configured install folder.
std::filesystem::path packingModuleFolder() {
  std::vector<std::filesystem::path> candidates;
#ifdef DALVENOR_PYTHON_SOURCE_DIR
  candidates.emplace_back(DALVENOR_PYTHON_SOURCE_DIR);
#endif
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&packingModuleFolder), &info) != 0 &&
      info.dli_fname != nullptr) {
    std::filesystem::path library(info.dli_fname);
    candidates.push_back(library.parent_path() / ".." / "share" / "dalvenor" /
                         "python");
  }
#ifdef DALVENOR_PYTHON_INSTALL_DIR
  candidates.emplace_back(DALVENOR_PYTHON_INSTALL_DIR);
#endif
  for (const auto& folder : candidates) {
    std::error_code error;
    if (std::filesystem::is_directory(folder / "py3dbp", error)) {
      return std::filesystem::weakly_canonical(folder, error);
    }
  }
  return {};
}

// Puts the packing module's folder first on sys.path, once per process.
void addPackingModuleToPath() {
  static bool done = false;
  if (done) return;
  done = true;
  std::filesystem::path folder = packingModuleFolder();
  if (folder.empty()) return;  // the import fails later and is reported
  PyObject* path = PySys_GetObject("path");  // borrowed
  PyRef entry(PyUnicode_DecodeFSDefault(folder.c_str()));
  if (path == nullptr || !PyList_Check(path) || !entry ||
      PyList_Insert(path, 0, entry.get()) != 0) {
    throwPythonError("Cannot extend sys.path with " + folder.string());
  }
}

PyRef evaluate(const std::string& expression) {
  PyObject* globals = mainNamespace();
  PyRef locals(PyDict_New());
  if (!locals) throwPythonError("Cannot create a namespace");
  PyRef result(PyRun_StringFlags(expression.c_str(), Py_eval_input, globals,
                                 locals.get(), nullptr));
  if (!result) throwPythonError("Python call failed: " + firstLine(expression));
  return result;
}

// The value under key in a dict (borrowed), null when the key is missing.
PyObject* memberOf(PyObject* dict, const char* key) {
  PyRef name(PyUnicode_FromString(key));
  if (!name) throwPythonError("Cannot make a key");
  PyObject* value = PyDict_GetItemWithError(dict, name.get());
  if (value == nullptr && PyErr_Occurred()) {
    throwPythonError("Cannot read key " + std::string(key));
  }
  return value;
}

// The value under key in a dict, as text. Throws when the key is missing or
// the value is not text.
std::string textMember(PyObject* dict, const char* key) {
  PyObject* value = memberOf(dict, key);
  if (value == nullptr) {
    throw std::runtime_error("Result record without key '" + std::string(key) +
                             "'");
  }
  if (!PyUnicode_Check(value)) {
    throw std::runtime_error("Result record key '" + std::string(key) +
                             "' is not text");
  }
  const char* utf8 = PyUnicode_AsUTF8(value);
  if (utf8 == nullptr) throwPythonError("Cannot read key " + std::string(key));
  return utf8;
}

PyRef listMember(PyObject* dict, const char* key) {
  PyObject* value = memberOf(dict, key);
  if (value == nullptr || !PyList_Check(value)) {
    throw std::runtime_error("Result record key '" + std::string(key) +
                             "' is not a list");
  }
  return PyRef::borrow(value);
}

PyRef dictAt(PyObject* list, Py_ssize_t index) {
  PyObject* element = PyList_GetItem(list, index);  // borrowed
  if (element == nullptr) throwPythonError("Cannot read a result element");
  if (!PyDict_Check(element)) {
    throw std::runtime_error("Result element is not a dict");
  }
  return PyRef::borrow(element);
}

}  // namespace

namespace {

// One thread's sessions at a time.
std::recursive_mutex& sessionTurn() {
  static std::recursive_mutex turn;
  return turn;
}

}  // namespace

Session::Session() : turn_(sessionTurn()) {
  if (!Py_IsInitialized()) {
    // Without signal handlers: the host keeps its own handling of Ctrl-C.
    Py_InitializeEx(0);
    // The starting thread holds the interpreter lock; give it up so that
    // sessions on any thread can take it.
    PyEval_SaveThread();
  }
  gilState_ = static_cast<int>(PyGILState_Ensure());
  try {
    addPackingModuleToPath();
  } catch (...) {
    PyGILState_Release(static_cast<PyGILState_STATE>(gilState_));
    throw;
  }
}

Session::~Session() {
  PyErr_Clear();
  PyGILState_Release(static_cast<PyGILState_STATE>(gilState_));
}

void Session::run(const std::string& statements) {
  PyObject* globals = mainNamespace();
  PyRef result(PyRun_StringFlags(statements.c_str(), Py_file_input, globals,
                                 globals, nullptr));
  if (!result) {
    throwPythonError("Python statement failed: " + firstLine(statements));
  }
}

std::vector<ResultRecord> Session::evaluateRecords(
    const std::string& expression) {
  PyRef result = evaluate(expression);
  if (!PyList_Check(result.get())) {
    throw std::runtime_error("Python call did not return a list: " +
                             firstLine(expression));
  }
  std::vector<ResultRecord> records;
  Py_ssize_t count = PyList_Size(result.get());
  if (count < 0) throwPythonError("Cannot read the result list");
  records.reserve(static_cast<std::size_t>(count));
  for (Py_ssize_t i = 0; i < count; ++i) {
    PyRef entry = dictAt(result.get(), i);
    ResultRecord record;
    // None marks a piece that fitted nowhere.
    if (memberOf(entry.get(), "name") != Py_None) {
      record.name = textMember(entry.get(), "name");
    }
    PyRef items = listMember(entry.get(), "items");
    Py_ssize_t itemCount = PyList_Size(items.get());
    if (itemCount < 0) throwPythonError("Cannot read a result's items");
    for (Py_ssize_t j = 0; j < itemCount; ++j) {
      PyRef item = dictAt(items.get(), j);
      record.items.push_back(ResultItem{textMember(item.get(), "product_no"),
                                        textMember(item.get(), "type")});
    }
    records.push_back(std::move(record));
  }
  return records;
}

bool Session::evaluateTruth(const std::string& expression) {
  PyRef result = evaluate(expression);
  int truth = PyObject_IsTrue(result.get());
  if (truth < 0) throwPythonError("Python call gave no truth value");
  return truth != 0;
}

}  // namespace bp_solver::bridge
