#pragma once

#include <QString>
#include <memory>

class Database;
class RecipeEditor;
class TDMod;
class TForm1;

// The program's tables and data module, made for the main window at start-up.
struct Session {
    std::unique_ptr<Database> db;
    std::unique_ptr<RecipeEditor> editor;
    std::unique_ptr<TDMod> dmod;
    ~Session();
};

// Opens the tables in `folder` for `form`. A table that cannot be opened is reported in a box
// titled "Application Error" and nothing is returned: the program must end.
std::unique_ptr<Session> openSession(TForm1& form, const QString& folder);

// The program as it starts: the main window over the tables of a Data folder. The application
// object must exist first.
class Program {
public:
    explicit Program(QString folder);
    ~Program();
    // Creates the window and opens the tables; false after the tables were refused.
    bool start();
    TForm1& form() const { return *m_form; }
    Session* session() const { return m_session.get(); }

private:
    QString m_folder;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<Session> m_session;
};
