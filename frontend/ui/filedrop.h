#pragma once
// Opening a data set by dropping its file on a window: one local file with
// the extension ".pd" (in any case), dropped anywhere on the window, on its
// text boxes too (which would otherwise take the file's path as text).
// Anything else dropped is left to the control under the pointer.
#include <QObject>
#include <QString>
#include <functional>

class QMimeData;
class QWidget;

namespace veldesk {

class DataSetDrop : public QObject {
public:
    // open: called with the dropped file's path once the drop has finished.
    DataSetDrop(QWidget* window, std::function<void(const QString&)> open);

    // The path of the one local ".pd" file the data carries; empty otherwise.
    static QString dataSetOf(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> m_open;
};

} // namespace veldesk
