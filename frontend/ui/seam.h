#pragma once
// Everything the front end asks of a person or of the desktop goes through one
// object: message boxes, the input box, the file-open dialog and opening a
// document with its viewer. The program uses the real desktop; tests install a
// scripted stand-in so that no dialog ever waits for a person.
#include <QString>
#include <optional>

class QWidget;

namespace veldesk {

inline const QString kProgramTitle = QStringLiteral("VELDESK");

enum class MsgIcon { None, Question, Information, Critical };
enum class MsgButtons { Ok, YesNo, SaveDiscardCancel };
enum class MsgAnswer { Ok, Yes, No, Save, Discard, Cancel };

class Seam {
public:
    virtual ~Seam() = default;
    // A modal message box. An empty title means the program's title, VELDESK.
    // defaultAnswer is the Yes/No button that Return presses: No where Yes
    // would lose data, so that a hurried Return keeps it.
    virtual MsgAnswer message(QWidget* parent, const QString& text, MsgIcon icon,
                              MsgButtons buttons, const QString& title, MsgAnswer defaultAnswer) = 0;
    // A modal input box; no value when the person cancels.
    virtual std::optional<QString> inputBox(QWidget* parent, const QString& prompt,
                                            const QString& title, const QString& proposed) = 0;
    // The file-open dialog. Returns the chosen path, or initialName when cancelled.
    virtual QString openFileDialog(QWidget* parent, const QString& title, const QString& filterLabel,
                                   const QString& pattern, const QString& defaultExt,
                                   const QString& initialName) = 0;
    // Opens a document with the desktop's associated viewer; false on any failure.
    virtual bool openDocument(const QString& path) = 0;
};

// The seam in force. Never null: the desktop implementation until replaced.
Seam& seam();
// Replaces the seam (tests); nullptr restores the desktop implementation.
void setSeam(Seam* s);

// Shorthands used by the windows.
MsgAnswer showMessage(QWidget* parent, const QString& text, MsgIcon icon = MsgIcon::None,
                      MsgButtons buttons = MsgButtons::Ok, const QString& title = QString(),
                      MsgAnswer defaultAnswer = MsgAnswer::Yes);

} // namespace veldesk
