#pragma once

#include "DModUnit.h"
#include "TempData.h"
#include "Unit1.h"
#include "app/Startup.h"

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
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void TearDown() override {
        form.attach(nullptr);
        session.reset();
    }
    TDMod& dm() { return *session->dmod; }

    TempData data;
    TForm1 form;
    std::unique_ptr<Session> session;
};
