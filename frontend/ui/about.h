#pragma once
// The about window: method, version, credits, and the way to the help document.
#include <QDialog>

class about : public QDialog {
    Q_OBJECT
public:
    explicit about(QWidget* parent = nullptr);
};
