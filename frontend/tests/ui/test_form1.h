#pragma once
// A fresh main window per test, driven through its real widgets, with the
// message boxes and dialogs answered by a script.
#include "Form1.h"
#include "flexgrid.h"
#include "scripted_ui.h"
#include "test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace veldesk;

struct Form1Test : ::testing::Test {
    ScriptedSeam seam;
    std::unique_ptr<Form1> w;

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        w = std::make_unique<Form1>();
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->Gr1->setFocus();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    QString cell(int r, int c) const { return w->Gr1->textMatrix(r, c); }
    QString rows(int r1, int r2) const { return w->Gr1->clipText(r1, 1, r2, 3); }
    void type(const QString& keys) { QTest::keyClicks(w->Gr1, keys); }
    void key(Qt::Key k) { QTest::keyClick(w->Gr1, k); }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    bool modified() const
    {
        return w->Label2->text() == "modified" && w->Label2->palette().color(QPalette::Window) == QColor(225, 0, 0);
    }
    bool cleared() const
    {
        return w->Label2->text().isEmpty()
            && w->Label2->palette().color(QPalette::Window) == w->palette().color(QPalette::Button);
    }
    bool lit(int r, int c) const { return w->Gr1->cellBackColor(r, c) == QColor(255, 255, 192); }
};
