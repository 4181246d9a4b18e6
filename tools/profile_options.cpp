#include "profile_options.h"
#include <algorithm>
#include <cstdlib>

const char* const kProfileUsage =
    "usage: mkprofiledb [options] <folder> <rows>\n"
    "Writes the PROFILEDATA database in its old layout into <folder> (made if missing): the\n"
    "twelve tables of the profile application, none with a column the upgrade adds, each with\n"
    "<rows> rows of made-up but repeatable content. Prints one line per table written.\n"
    "  --ini <file>        also write the alias to this engine configuration file: section\n"
    "                      [<alias>] with PATH=<folder> and DEFAULT DRIVER=PARADOX (the file's\n"
    "                      other sections stay)\n"
    "  --alias <name>      the alias name (default PROFILEDATA)\n"
    "  --user <name>       also give the alias the parameter USER NAME=<name> (may be empty):\n"
    "                      the program then asks for a login before it opens the database\n"
    "  --present <table>:<column>[=<type><size>][,<column>...]\n"
    "                      make the table with these upgrade columns already present, after\n"
    "                      its own columns and named exactly as written (any letter case);\n"
    "                      =<type><size> gives another type or size, e.g. Subject:ein=A20\n"
    "  --omit <table>      leave the table out\n"
    "  --only <table>      make only the tables named so\n"
    "  --protect <table>=<password>\n"
    "                      protect the table with a password\n"
    "  --no-index          no secondary index (otherwise Inspections.DB has one on DOT_Number)\n"
    "  --unkeyed <table>[:<column>]\n"
    "                      make the table without a primary key; with a column, give it an\n"
    "                      index on that column, not maintained (the engine maintains none on\n"
    "                      a table without key)\n"
    "  --old-validity <table>\n"
    "                      give the table a validity file (.VAL) in the layout of the 3.x era,\n"
    "                      with a picture check on its first column\n"
    "  --seed <n>          content seed (default 1)\n"
    "  --replace           delete the files of each table written first\n"
    "Options that name tables may be repeated. Tables are named as in the database\n"
    "(\"Subject.DB\") or without \".DB\", in any letter case.\n";

namespace {

const TableDef* Table(const std::string& name, std::string& error) {
    const TableDef* t = FindProfileTable(name);
    if (!t)
        error = "no profile table \"" + name + "\"";
    return t;
}

// "<column>" (type and size from the upgrade's list) or "<column>=<type><size>".
bool PresentColumn(const TableDef& t, const std::string& item, Column& out, std::string& error) {
    size_t eq = item.find('=');
    std::string name = item.substr(0, eq);
    out = {name, 'A', 0, Content::Filler};
    if (eq != std::string::npos && eq + 1 < item.size()) {
        out.type = item[eq + 1];
        out.size = std::atoi(item.c_str() + eq + 2);
        return true;
    }
    const UpgradeColumn* c = FindUpgradeColumn(t, name);
    if (!c) {
        error = std::string(t.name) + " gets no column \"" + name + "\" from the upgrade; give " +
                "its type, as " + name + "=A10";
        return false;
    }
    out.type = c->type;
    out.size = c->size;
    return true;
}

bool Present(const std::string& value, ProfileOptions& o, std::string& error) {
    size_t colon = value.find(':');
    if (colon == std::string::npos) {
        error = "--present wants <table>:<column>[,<column>...]";
        return false;
    }
    const TableDef* t = Table(value.substr(0, colon), error);
    if (!t)
        return false;
    std::string rest = value.substr(colon + 1);
    for (size_t start = 0; start <= rest.size();) {
        size_t comma = std::min(rest.find(',', start), rest.size());
        Column c;
        if (!PresentColumn(*t, rest.substr(start, comma - start), c, error))
            return false;
        o.present[t].push_back(c);
        start = comma + 1;
    }
    return true;
}

bool Protect(const std::string& value, ProfileOptions& o, std::string& error) {
    size_t eq = value.find('=');
    if (eq == std::string::npos || eq + 1 == value.size()) {
        error = "--protect wants <table>=<password>";
        return false;
    }
    const TableDef* t = Table(value.substr(0, eq), error);
    if (t)
        o.passwords[t] = value.substr(eq + 1);
    return t != nullptr;
}

// "<table>" or "<table>:<column>", the column one of the table's own.
bool Unkeyed(const std::string& value, ProfileOptions& o, std::string& error) {
    size_t colon = value.find(':');
    const TableDef* t = Table(value.substr(0, colon), error);
    if (!t)
        return false;
    std::string column = colon == std::string::npos ? "" : value.substr(colon + 1);
    if (!column.empty() && !std::any_of(t->columns.begin(), t->columns.end(),
                                        [&](const Column& c) { return c.name == column; })) {
        error = std::string(t->name) + " has no column \"" + column + "\"";
        return false;
    }
    o.unkeyed[t] = column;
    return true;
}

} // namespace

bool ProfileOptions::Wanted(const TableDef* t) const {
    if (std::find(omit.begin(), omit.end(), t) != omit.end())
        return false;
    return only.empty() || std::find(only.begin(), only.end(), t) != only.end();
}

bool ParseProfileOptions(int argc, char** argv, ProfileOptions& o, std::string& error) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return false;
        if (arg == "--no-index") {
            o.index = false;
            continue;
        }
        if (arg == "--replace") {
            o.replace = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0) {
            positional.push_back(arg);
            continue;
        }
        if (i + 1 >= argc) {
            error = arg + " wants a value";
            return false;
        }
        std::string value = argv[++i];
        bool ok = true;
        if (arg == "--ini")
            o.ini = value;
        else if (arg == "--alias")
            o.alias = value;
        else if (arg == "--user")
            o.user = value;
        else if (arg == "--seed")
            o.seed = std::strtoull(value.c_str(), nullptr, 10);
        else if (arg == "--present")
            ok = Present(value, o, error);
        else if (arg == "--protect")
            ok = Protect(value, o, error);
        else if (arg == "--unkeyed")
            ok = Unkeyed(value, o, error);
        else if (arg == "--old-validity") {
            const TableDef* t = Table(value, error);
            o.oldValidity.push_back(t);
            ok = t != nullptr;
        } else if (arg == "--omit" || arg == "--only") {
            const TableDef* t = Table(value, error);
            (arg == "--omit" ? o.omit : o.only).push_back(t);
            ok = t != nullptr;
        } else {
            error = "unknown option " + arg;
            ok = false;
        }
        if (!ok)
            return false;
    }
    if (positional.size() != 2) {
        error = "a folder and a number of rows, please";
        return false;
    }
    o.folder = positional[0];
    char* end = nullptr;
    o.rows = unsigned(std::strtoul(positional[1].c_str(), &end, 10));
    if (*end || positional[1].empty()) {
        error = "rows: \"" + positional[1] + "\" is not a number";
        return false;
    }
    return true;
}
