#pragma once
// A fresh main window per test, driven through its real widgets, with the
// message boxes and dialogs answered by a script.
#include "Form1.h"
#include "flexgrid.h"
#include "scripted_ui.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

struct Form1Test : ::testing::Test {
    ScriptedSeam seam;
    std::unique_ptr<Form1> w;

    void SetUp() override
    {
        useLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        w = std::make_unique<Form1>();
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->Gr1->setFocus();
    }
    void TearDown() override
    {
        w.reset();
        QLocale::setDefault(QLocale::system());
    }

    static void useLocale(const QLocale& l) { QLocale::setDefault(l); }
    QString cell(int r, int c) const { return w->Gr1->textMatrix(r, c); }
    void type(const QString& keys) { QTest::keyClicks(w->Gr1, keys); }
    void key(Qt::Key k) { QTest::keyClick(w->Gr1, k); }
    void clickCell(int r, int c)
    {
        const QRect rect = w->Gr1->visualRect(w->Gr1->model()->index(r - 1, c - 1));
        QTest::mouseClick(w->Gr1->viewport(), Qt::LeftButton, {}, rect.center());
    }
    bool markerModified() const
    {
        return w->Label2->text() == "modified"
            && w->Label2->palette().color(QPalette::Window) == QColor(225, 0, 0);
    }
    bool markerCleared() const
    {
        return w->Label2->text().isEmpty()
            && w->Label2->palette().color(QPalette::Window) == w->palette().color(QPalette::Button);
    }
    bool highlighted(int r, int c) const { return w->Gr1->cellBackColor(r, c) == QColor(255, 255, 192); }
};
