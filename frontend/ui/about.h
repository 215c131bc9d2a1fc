#pragma once
// The about window: method, version, credits, and the way to the help document.
#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

namespace veldesk {

class about : public QDialog {
    Q_OBJECT
public:
    explicit about(QWidget* parent = nullptr);

    // The directory the program runs from, where the help document is looked
    // for after the working directory (and in ../share/veldesk beside it).
    // Set from the running program; tests point it elsewhere.
    void setProgramDir(const QString& dir) { m_programDir = dir; }

private:
    void Command2_clicked(); // "View Help"

    QFrame* Frame1;
    QLabel* Label1_0;
    QLabel* Label2;
    QLabel* Label1_1;
    QLabel* Label1_3;
    QLabel* Label1_6;
    QPushButton* Command2;
    QPushButton* Command1;
    QString m_programDir;
};

} // namespace veldesk
