// dbread through unixODBC on an SQLite file made by the test, by provider and
// by data-source name, with a test driver list in a temporary folder.
#include <sql.h>
#include <sqlext.h>

#include <dlfcn.h>

#include <cstdlib>
#include <fstream>

#include "script/builtins/builtin_test_support.h"

// The SQLite driver loads and unloads the driver-manager's ini library for
// every connection, and that library keeps a few small allocations. They are
// not ours: keep the library resident so the leak checker can name it, and
// leave its allocations out of the report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libodbcinst.so\nleak:libsqlite3odbc\n"; }

namespace galvora {
namespace {

using testing::BuiltinTest;
using testing::TempOrdner;

constexpr const char* sqlite_treiber = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

// Runs statements on a writable connection (the test's own, not dbread's).
void ausfuehren_sql(const std::string& datenbank, const std::vector<std::string>& anweisungen) {
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    SQLHSTMT st = nullptr;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)));
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc)));
    std::string verbindung = "DRIVER={SQLite3};Database=" + datenbank;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, (SQLCHAR*)verbindung.c_str(), SQL_NTS, nullptr, 0,
                                               nullptr, SQL_DRIVER_NOPROMPT)));
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st)));
    for (const auto& a : anweisungen) EXPECT_TRUE(SQL_SUCCEEDED(SQLExecDirect(st, (SQLCHAR*)a.c_str(), SQL_NTS))) << a;
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
}

class DatabaseTest : public BuiltinTest {
protected:
    static void SetUpTestSuite() {
        ordner = new TempOrdner;
        dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
        ASSERT_TRUE(std::filesystem::exists(sqlite_treiber)) << "the SQLite ODBC driver (libsqliteodbc) is missing";
        datenbank = ordner->datei("bilder.db");
        std::ofstream(ordner->datei("odbcinst.ini")) << "[SQLite3]\nDriver=" << sqlite_treiber << "\nDontDLClose=1\n";
        std::ofstream(ordner->datei("odbc.ini")) << "[galvoratest]\nDriver=SQLite3\nDatabase=" << datenbank << "\n";
        ::setenv("ODBCSYSINI", ordner->pfad().c_str(), 1);
        ::setenv("ODBCINI", ordner->datei("odbc.ini").c_str(), 1);
        ausfuehren_sql(datenbank, {
            "CREATE TABLE bilder (id INTEGER, name VARCHAR(50), breite INTEGER, faktor DOUBLE, "
            "datum TIMESTAMP, notiz VARCHAR(20), daten BLOB, kurz SMALLINT)",
            "INSERT INTO bilder VALUES (1, 'Sonne', 640, 1.5, '2023-05-15 18:30:00', NULL, X'0102', 3)",
            "INSERT INTO bilder VALUES (2, 'Mond', 800, 2.25, '2024-01-02 03:04:05', 'hell', X'03', 4)",
        });
    }
    static void TearDownTestSuite() {
        delete ordner;
        ordner = nullptr;
    }

    static std::string q(const std::string& s) { return "\"" + s + "\""; }
    std::string lese(const std::string& bedingung, const std::string& felder) {
        return "dbread(" + q(datenbank) + ", \"bilder\", " + q(bedingung) + ", " + q(felder) + ", \"SQLite\")";
    }

    static inline TempOrdner* ordner = nullptr;
    static inline std::string datenbank;
};

TEST_F(DatabaseTest, SingleFieldsKeepTheirTypes) {
    pruefen({
        {"{" + lese("id = 1", "name") + "} {" + lese("id = 1", "breite") + "} {type(" + lese("id = 1", "breite") +
             ")} {" + lese("id = 2", "faktor") + "} {" + lese("id = 1", "datum") + "} {" + lese("id = 1", "kurz") + "}",
         "Sonne 640 @integer 2.25 15.05.2023 18:30:00 3"},
        {"{" + lese("id = 1", "notiz") + "} {" + lese("name = 'Mond'", "notiz") + "}", "@empty hell"},
        {"{x = " + lese("id = 1", "name, breite, notiz") + "; x[\"name\"]} {x[\"breite\"]} {x[\"notiz\"]}",
         "Sonne 640 @empty"},
        // The first record only.
        {"{" + lese("1 = 1", "name") + "}", "Sonne"},
        {"{x = " + lese("id = 2", "name, breite") + "; type(x)} {x[\"name\"]}{x[\"breite\"]}", "@array Mond800"},
        {"{dbread(@DSN, \"galvoratest\", \"bilder\", \"id = 2\", \"name\")}", "Mond"},
        {"{dbread(" + q(datenbank) + ", \"bilder\", \"id = 1\", \"name\", \"sqlite\")}", "Sonne"},
    });
}

TEST_F(DatabaseTest, MissingRowsUnreadableFieldsAndBadArguments) {
    pruefen({
        {"{" + lese("id = 99", "name") + "}|{ERRN_LAST}", "@error|5", 5},
        {"{" + lese("id = 1", "daten") + "}|{ERRN_LAST}", "@error|6", 6},
        {"{" + lese("id = 1", "name, daten") + "}|{ERRN_LAST}", "@error|6", 6},
        {"{dbread(@DSN, \"x\", \"bilder\", \"id = 1\")}|{ERRN_LAST}", "@error|2", 2},
        {"{dbread(@FILL, \"x\", \"bilder\", \"id = 1\", \"name\")}|{ERRN_LAST}", "@error|4", 4},
        {"{dbread(" + q(datenbank) + ", 1, \"id = 1\", \"name\")}|{ERRN_LAST}", "@error|3", 3},
        {"{dbread(" + q(datenbank) + ", \"bilder\", \"id = 1\", \"name\", 1)}|{ERRN_LAST}", "@error|3", 3},
    });
}

TEST_F(DatabaseTest, ProviderFailuresAreReportedAndTheRunGoesOn) {
    const std::string fehlt = ordner->datei("fehlt.db");
    const std::vector<std::string> vorlagen = {
        "{dbread(" + q(fehlt) + ", \"bilder\", \"id = 1\", \"name\", \"SQLite\")}",
        "{dbread(" + q(ordner->pfad().string()) + ", \"bilder\", \"id = 1\", \"name\", \"SQLite\")}",
        "{dbread(" + q(datenbank) + ", \"gibtsnicht\", \"id = 1\", \"name\", \"SQLite\")}",
        "{" + lese("", "name") + "}",
        "{dbread(@DSN, \"unbekannt\", \"bilder\", \"id = 1\", \"name\")}",
        "{dbread(" + q(datenbank) + ", \"bilder\", \"id = 1\", \"name\", \"Oracle\")}",
        "{" + lese("id = 1; DELETE FROM bilder", "name") + "}",
        "{" + lese("id = 1", "name; DROP TABLE bilder") + "}",
    };
    for (const auto& v : vorlagen) {
        ZNSProbelauf r = lauf(v + "|weiter");
        EXPECT_EQ(r.ausgabe, "@error|weiter") << v;
        EXPECT_NE(r.errn, 0) << v;
        EXPECT_NE(r.errs.find("dbread: ("), std::string::npos) << r.errs;
    }
    // Nothing was created or changed.
    EXPECT_FALSE(std::filesystem::exists(fehlt));
    pruefen({{"{" + lese("1 = 1", "count(*)") + "}", "2"}});
}

}  // namespace
}  // namespace galvora
