#include "Startup.h"

#include "edit/DModUnit.h"
#include "ui/Unit1.h"
#include "components/Database.h"
#include "ui/MessageBox.h"
#include "components/StoreError.h"

#include <QTimer>

namespace {
// Long enough for the window to be painted and the first recipe shown.
constexpr int kCheckAfter = 1500;
} // namespace

Session::~Session() {
    dmod.reset(); // the data module goes before the tables it uses
    db.reset();
}

std::unique_ptr<Session> openSession(TForm1& form, const QString& folder) {
    auto session = std::make_unique<Session>();
    try {
        session->db = std::make_unique<Database>(folder);
        session->editor = std::make_unique<RecipeEditor>();
        // The batch follows the totals as the window's switch says from the first pass on.
        session->editor->setAutoCalc(form.AutoCalc1->isChecked());
        session->dmod = std::make_unique<TDMod>(*session->db, form.resinTypeBox(), form.resinCodeBox(), form,
                                                *session->editor);
        session->db->tidyJournals();
    } catch (const StoreError& e) {
        session.reset();
        MessageBox::show(nullptr, QMessageBox::Critical, QStringLiteral("Application Error"),
                         e.message(), QMessageBox::Ok, QMessageBox::Ok);
        return nullptr;
    }
    form.attach(session->dmod.get());
    return session;
}

Program::Program(QString folder) : m_folder(std::move(folder)) {}

Program::~Program() {
    if (m_form)
        m_form->attach(nullptr);
    m_session.reset();
    m_form.reset();
}

bool Program::start() {
    m_form = std::make_unique<TForm1>();
    m_session = openSession(*m_form, m_folder);
    if (!m_session)
        return false;
    m_form->show();
    // Every page of the tables is read once the window is up, without holding the user back.
    TForm1* form = m_form.get();
    Database* db = m_session->db.get();
    QTimer::singleShot(kCheckAfter, form, [form, db] {
        db->startIntegrityCheck(
            [form](const QString& message) { MessageBox::commandError(form, message); });
    });
    return true;
}
