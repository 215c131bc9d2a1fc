#pragma once
// The data directory window: the operator picks the directory and the name of
// the data-set file; "Aceptar" composes the path, "Cancelar" changes nothing.
#include <QDialog>
#include <QString>

class selectdir : public QDialog {
    Q_OBJECT
public:
    explicit selectdir(QWidget* parent = nullptr);
    // The path composed by "Aceptar" (directory, separator, name, ".pd");
    // meaningful when exec() returned QDialog::Accepted.
    QString composedPath() const { return m_composed; }

private:
    QString m_composed;
};
