#pragma once

#include "edit/DModUnit.h"
#include "TempData.h"
#include "ui/Unit1.h"
#include "app/Startup.h"
#include "ui/DBGrid.h"
#include "ui/DBGridModel.h"
#include "ui/LibraryList.h"

#include <QAbstractItemModelTester>
#include <QAbstractProxyModel>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A window test's main window, opened on a Data folder of its own as the program starts, and
// detached from its tables after the test.
template <class Base = ::testing::Test>
class MainWindowFixture : public Base {
protected:
    // Creates the three tables, opens them and shows the main window. Call it under
    // ASSERT_NO_FATAL_FAILURE: a window that did not open ends the test.
    void openWindow(const QString& batchInfo, const QString& recipes = {}, const QString& rmLib = {}) {
        data.create(batchInfo, recipes, rmLib);
        session = openSession(form, data.folder());
        ASSERT_NE(session, nullptr);
        checkModels(form);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void TearDown() override {
        form.attach(nullptr);
        session.reset();
    }
    TDMod& dm() { return *session->dmod; }

public:
    // Every model of the main window is checked as the test drives it: a fault is a warning, and
    // a warning fails the test. Each checker goes with its model.
    static void checkModels(TForm1& window) {
        using Tester = QAbstractItemModelTester;
        std::vector<QAbstractItemModel*> models{window.DBGrid1->gridModel(), window.LkUpRM->model()};
        if (auto* proxy = qobject_cast<QAbstractProxyModel*>(window.LkUpRM->model()))
            models.push_back(proxy->sourceModel());
        for (QAbstractItemModel* m : models)
            if (m && !m->findChild<Tester*>(QString(), Qt::FindDirectChildrenOnly))
                new Tester(m, Tester::FailureReportingMode::Warning, m);
    }
protected:

    TempData data;
    TForm1 form;
    std::unique_ptr<Session> session;
};
