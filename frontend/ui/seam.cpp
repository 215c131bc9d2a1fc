#include "seam.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace veldesk {
namespace {

class DesktopSeam final : public Seam {
public:
    MsgAnswer message(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons,
                      const QString& title, MsgAnswer defaultAnswer) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(title.isEmpty() ? kProgramTitle : title);
        box.setText(text);
        switch (icon) {
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        }
        if (buttons == MsgButtons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(defaultAnswer == MsgAnswer::No ? QMessageBox::No : QMessageBox::Yes);
            return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
        }
        if (buttons == MsgButtons::SaveDiscardCancel) {
            box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Save);
            box.setEscapeButton(QMessageBox::Cancel);
            switch (box.exec()) {
            case QMessageBox::Save: return MsgAnswer::Save;
            case QMessageBox::Discard: return MsgAnswer::Discard;
            default: return MsgAnswer::Cancel;
            }
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MsgAnswer::Ok;
    }

    std::optional<QString> inputBox(QWidget* parent, const QString& prompt, const QString& title,
                                    const QString& proposed) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, proposed, &ok);
        if (!ok)
            return std::nullopt;
        return text;
    }

    QString openFileDialog(QWidget* parent, const QString& title, const QString& filterLabel,
                           const QString& pattern, const QString& defaultExt,
                           const QString& initialName) override
    {
        QFileDialog dlg(parent, title);
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        dlg.setNameFilter(filterLabel + QStringLiteral(" (") + pattern + QStringLiteral(")"));
        dlg.setDefaultSuffix(defaultExt);
        dlg.selectFile(initialName);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return initialName;
        return dlg.selectedFiles().constFirst();
    }

    bool openDocument(const QString& path) override
    {
        const QFileInfo info(path);
        if (!info.isFile() || !info.isReadable())
            return false;
        return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
    }
};

DesktopSeam g_desktop;
Seam* g_current = &g_desktop;

} // namespace

Seam& seam() { return *g_current; }

void setSeam(Seam* s) { g_current = s ? s : &g_desktop; }

MsgAnswer showMessage(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons,
                      const QString& title, MsgAnswer defaultAnswer)
{
    return seam().message(parent, text, icon, buttons, title, defaultAnswer);
}

} // namespace veldesk
