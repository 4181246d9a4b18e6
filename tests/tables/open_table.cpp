// Opens tables through the table layer as the program does, its dialogs answering the password
// and login prompts, and prints what came of it, so that a test can drive the dialogs from
// outside and check the outcome.
//   open_table [--again] <database> <table>...
//       opens each table and keeps it open: "opened <table>: <n> columns" or
//       "failed <table>: <class> <status>: <message>"; then "user <name>" when the connection
//       logged in and "prompts <n>" (password prompts shown). --again closes them and opens
//       each once more without a prompt, printing "again ..." lines.
//   open_table --prompt [<times>]
//       shows the password prompt alone, once or as often as asked: "prompt ok" or
//       "prompt cancel" each time
#include "runtime/application.h"
#include "tables/database.h"
#include "tables/database_dialogs_unit.h"
#include "tables/engine_error.h"
#include "tables/session.h"
#include "tables/table.h"
#include "tables/tables_unit.h"
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

TPasswordDialogProc shownPrompt = nullptr;
int prompts = 0;

bool CountedPrompt(TSession& session) {
    ++prompts;
    return shownPrompt(session);
}

std::string OneLine(std::string text) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.replace(at, 2, " | ");
    return text;
}

std::string Outcome(TTable& table) {
    try {
        table.OpenTable();
        return "opened " + table.TableName() + ": " + std::to_string(table.ColumnCount()) +
               " columns";
    } catch (const EDBEngineError& e) {
        char status[8];
        std::snprintf(status, sizeof status, "%04X", unsigned(e.Errors(0).ErrorCode));
        return "failed " + table.TableName() + ": EDBEngineError " + status + ": " +
               OneLine(e.Message());
    } catch (const Exception& e) {
        return "failed " + table.TableName() + ": " + e.ClassName() + ": " + OneLine(e.Message());
    }
}

void OpenEach(std::vector<std::unique_ptr<TTable>>& tables, const char* prefix) {
    for (auto& table : tables)
        std::printf("%s%s\n", prefix, Outcome(*table).c_str());
}

int OpenTables(bool again, const std::string& database, const std::vector<std::string>& names) {
    std::vector<std::unique_ptr<TTable>> tables;
    for (const auto& name : names) {
        tables.push_back(std::make_unique<TTable>(nullptr));
        tables.back()->SetDatabaseName(database);
        tables.back()->SetTableName(name);
    }
    OpenEach(tables, "");
    if (TDatabase* connection = Session->FindDatabase(database);
        connection && !connection->UserName().empty())
        std::printf("user %s\n", connection->UserName().c_str());
    std::printf("prompts %d\n", prompts);
    if (again) {
        for (auto& table : tables)
            table->CloseTable();
        Session->OnPassword = [](TSession&, bool& continueOpen) { continueOpen = false; };
        OpenEach(tables, "again ");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool again = !args.empty() && args[0] == "--again";
    if (again)
        args.erase(args.begin());
    const bool promptOnly = !args.empty() && args.size() <= 2 && args[0] == "--prompt";
    if (!promptOnly && args.size() < 2) {
        std::fputs("usage: open_table [--again] <database> <table>...\n"
                   "       open_table --prompt [<times>]\n",
                   stderr);
        return 2;
    }
    InitializeUnits({&ApplicationUnit, &TablesUnit, &DatabaseDialogsUnit});
    shownPrompt = PasswordDialog;
    PasswordDialog = CountedPrompt;
    int result = 0;
    if (promptOnly)
        for (int n = args.size() == 2 ? std::atoi(args[1].c_str()) : 1; n > 0; --n)
            std::printf("prompt %s\n", PasswordDialog(*Session) ? "ok" : "cancel");
    else
        result = OpenTables(again, args[0], {args.begin() + 1, args.end()});
    std::fflush(stdout);
    FinalizeUnits();
    return result;
}
