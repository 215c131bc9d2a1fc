#include "filedrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace veldesk {

DataSetDrop::DataSetDrop(QWidget* window, std::function<void(const QString&)> open)
    : QObject(window), m_open(std::move(open))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>())
        child->installEventFilter(this);
}

QString DataSetDrop::dataSetOf(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    const QString path = url.toLocalFile();
    return QFileInfo(path).suffix().compare(QStringLiteral("pd"), Qt::CaseInsensitive) == 0 ? path : QString();
}

bool DataSetDrop::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (dataSetOf(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = dataSetOf(drop->mimeData());
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        // Opened after the drop has been answered: the questions and messages
        // of opening must not keep the file manager waiting.
        QTimer::singleShot(0, this, [this, path] { m_open(path); });
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace veldesk
