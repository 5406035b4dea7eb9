#pragma once

#include <QString>
#include <memory>

class Database;
class TDMod;
class TForm1;

// The program's tables and data module, made for the main window at start-up.
struct Session {
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMod> dmod;
    ~Session();
};

// Opens the tables in `folder` for `form`. A table that cannot be opened is reported in a box
// titled "Application Error" and nothing is returned: the program must end.
std::unique_ptr<Session> openSession(TForm1& form, const QString& folder);
