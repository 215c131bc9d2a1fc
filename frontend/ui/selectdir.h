#pragma once
// The data directory window: the operator picks the directory and the name of
// the data-set file; "Aceptar" composes the path, "Cancelar" changes nothing.
// The window only browses: it creates, opens and writes no file and never
// changes the process's working directory.
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace veldesk {

class selectdir : public QDialog {
    Q_OBJECT
public:
    explicit selectdir(QWidget* parent = nullptr);
    // The path composed by "Aceptar" (directory, separator, name, ".pd");
    // meaningful when exec() returned QDialog::Accepted.
    QString composedPath() const { return m_composed; }

private:
    void showDirectory(const QString& dir); // moves Dir1, Text2 and File1 there
    void fillFileList();
    void Dir1_activated(QListWidgetItem* item);
    void File1_clicked(int row);
    void Command2_clicked();

    QLabel* Label1_0;
    QLabel* Label1_1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text1;
    QListWidget* Dir1;
    QListWidget* File1;
    QPushButton* Command2;
    QPushButton* Command3;

    QString m_dir;
    QString m_composed;
};

} // namespace veldesk
