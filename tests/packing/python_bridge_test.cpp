#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <locale>
#include <stdexcept>
#include <string>

#include "packing/bin_packing_solver.h"
#include "packing/packing_statements.h"
#include "packing/python_session.h"
#include "support/lines.h"

namespace {

using bp_solver::bridge::formatNumber;
using bp_solver::bridge::pythonStringLiteral;
using bp_solver::bridge::Session;

BoxItem piece(int product,
              ItemSpecification::Type type,
              float x,
              float y,
              float z,
              float weight) {
  OItem line(1, product, "G000502017", 1);
  return BoxItem(ItemSpecification(product, type, 1, 1, x, y, z, weight), line);
}

// Sets LC_NUMERIC to a locale whose decimal separator is a comma. When the
// system has none installed, compiles one with localedef into a temporary
// folder. False when neither works.
bool setCommaNumericLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) return true;
  }
  if (!std::filesystem::exists("/usr/share/i18n/locales/de_DE")) return false;
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "dalvenor_bridge_locale";
  std::filesystem::create_directories(folder);
  std::string command = "localedef -i de_DE -f UTF-8 '" +
                        (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
  if (!std::filesystem::exists(folder / "de_DE.UTF-8") &&
      std::system(command.c_str()) != 0 &&
      !std::filesystem::exists(folder / "de_DE.UTF-8")) {
    return false;
  }
  setenv("LOCPATH", folder.c_str(), 1);
  return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

// A C++ locale whose numbers use a decimal comma.
struct CommaPunct : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(PythonBridgeTest, StatementsKeepTheDocumentedText) {
  Box master(28, 29, 45, 4000, "masterBox", 1.0f);
  EXPECT_EQ(bp_solver::bridge::boxStatement(master),
            "bin = {'name':'masterBox','width':28.000000,'height':29.000000,"
            "'depth':45.000000,'max-weight':4000.000000}");
  EXPECT_EQ(bp_solver::bridge::boxStatementWithVolume(master),
            "bins.append({'name':'masterBox','width':28.000000,"
            "'height':29.000000,'depth':45.000000,'max-weight':4000.000000,"
            "'volume':36540.000000,})");
  EXPECT_EQ(bp_solver::bridge::boxStatementWithCount(master, 1000),
            "bins.append({'name':'masterBox','width':28.000000,"
            "'height':29.000000,'depth':45.000000,'max-weight':4000.000000,"
            "'count':1000,})");
  EXPECT_EQ(bp_solver::bridge::pieceStatement(
                piece(1234, ItemSpecification::Package, 30, 20, 10, 2.5f)),
            "items.append({'product_no':1234,'type':'pack','x':30.000000,"
            "'y':20.000000,'z':10.000000,'weight':2.500000,})");
  EXPECT_EQ(bp_solver::bridge::pieceStatementWithVolume(
                piece(1234, ItemSpecification::Unit, 1, 2, 3, 0.5f)),
            "items.append({'product_no':1234,'type':'unit','x':1.000000,"
            "'y':2.000000,'z':3.000000,'weight':0.500000,'volume':6.000000})");
}

TEST(PythonBridgeTest, NumbersIgnoreTheCallersLocale) {
  EXPECT_EQ(formatNumber(28.0f), "28.000000");
  EXPECT_EQ(formatNumber(0.1f), "0.100000");
  EXPECT_EQ(formatNumber(-2.5f), "-2.500000");
  EXPECT_EQ(formatNumber(-7), "-7");
  EXPECT_EQ(formatNumber(1234), "1234");

  std::locale previous =
      std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
  EXPECT_EQ(formatNumber(2.5f), "2.500000");
  std::locale::global(previous);

  if (!setCommaNumericLocale()) {
    GTEST_SKIP() << "no comma-decimal C locale could be set";
  }
  char shown[16];
  std::snprintf(shown, sizeof shown, "%.1f", 2.5);
  EXPECT_STREQ(shown, "2,5");  // the C library now writes a comma...
  EXPECT_EQ(formatNumber(2.5f), "2.500000");  // ...the statements do not
  EXPECT_EQ(bp_solver::bridge::boxStatement(
                Box(28.5f, 29, 45, 4000, "masterBox", 1.0f)),
            "bin = {'name':'masterBox','width':28.500000,'height':29.000000,"
            "'depth':45.000000,'max-weight':4000.000000}");

  // A whole 3D packing in that locale works through the interpreter.
  testing::internal::CaptureStderr();
  std::vector<Box> boxes;
  bp_solver::mainSolution3DBP_oneBox_pythonScript(
      {testing_support::line(1, 7, 3, 10.5f, 10, 10)}, &boxes,
      Box(28.5f, 29, 45, 4000, "masterBox", 1.0f));
  std::string warnings = testing::internal::GetCapturedStderr();
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(warnings, "");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].name, "masterBox");
  EXPECT_EQ(boxes[0].itemsInTheBox.at(7).countOfUnits, 3);
}

TEST(PythonBridgeTest, StringLiteralsCarryAnyNameIntoPython) {
  EXPECT_EQ(pythonStringLiteral("masterBox"), "'masterBox'");
  EXPECT_EQ(pythonStringLiteral("Joe's"), "'Joe\\'s'");
  EXPECT_EQ(pythonStringLiteral("a\\b"), "'a\\\\b'");
  EXPECT_EQ(pythonStringLiteral("line\nnext"), "'line\\nnext'");

  Session session;
  for (std::string name : {"Joe's \"big\" box", "back\\slash'", "tab\there",
                           "new\nline\x01", "Größe (L); 1"}) {
    session.run("name = " + pythonStringLiteral(name));
    auto records = session.evaluateRecords("[{'name': name, 'items': []}]");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name, name);
  }
}

TEST(PythonBridgeTest, FailuresBecomeExceptionsAndLeaveNoErrorBehind) {
  Session session;
  try {
    session.run("x = undefined_name_of_the_test");
    FAIL() << "no exception";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()),
              "Python statement failed: x = undefined_name_of_the_test: "
              "NameError: name 'undefined_name_of_the_test' is not defined");
  }
  EXPECT_THROW(session.run("items.append({'product_no':1,"),
               std::runtime_error);
  // The interpreter goes on after a failure.
  session.run("x = 2");
  EXPECT_TRUE(session.evaluateTruth("x == 2"));

  auto failureOf = [&](const std::string& expression) {
    try {
      session.evaluateRecords(expression);
    } catch (const std::runtime_error& error) {
      return std::string(error.what());
    }
    return std::string("no exception");
  };
  EXPECT_EQ(failureOf("1 / 0"),
            "Python call failed: 1 / 0: ZeroDivisionError: division by zero");
  EXPECT_EQ(failureOf("{'name': 'a'}"),
            "Python call did not return a list: {'name': 'a'}");
  EXPECT_EQ(failureOf("[{'items': []}]"), "Result record without key 'name'");
  EXPECT_EQ(failureOf("[{'name': 3, 'items': []}]"),
            "Result record key 'name' is not text");
  EXPECT_EQ(failureOf("[{'name': 'a', 'items': 5}]"),
            "Result record key 'items' is not a list");
  EXPECT_EQ(failureOf("[{'name': 'a', 'items': [{'product_no': 7, "
                      "'type': 'unit'}]}]"),
            "Result record key 'product_no' is not text");
  EXPECT_EQ(failureOf("[7]"), "Result element is not a dict");
  EXPECT_TRUE(session.evaluateTruth("True"));
}

TEST(PythonBridgeTest, FindsThePackingModuleWithoutSetupAndKeepsCtrlC) {
  Session session;
  session.run("import py3dbp, os");
  std::string folder = std::string(DALVENOR_SOURCE_DIR) + "/python";
  session.run("expected = " + pythonStringLiteral(folder));
  EXPECT_TRUE(session.evaluateTruth(
      "os.path.dirname(os.path.dirname(os.path.realpath(py3dbp.__file__))) "
      "== os.path.realpath(expected)"));
  EXPECT_TRUE(session.evaluateTruth(
      "sum(1 for p in __import__('sys').path "
      "if os.path.realpath(p) == os.path.realpath(expected)) == 1"));

  struct sigaction current {};
  ASSERT_EQ(sigaction(SIGINT, nullptr, &current), 0);
  EXPECT_EQ(current.sa_handler, SIG_DFL);  // the interpreter left Ctrl-C alone
}

}  // namespace
