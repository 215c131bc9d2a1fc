#pragma once
// A stand-in for the person at the desk: records every message box, input box
// and dialog the program shows, and answers them from a script.
#include "seam.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <deque>
#include <optional>
#include <vector>

struct ShownMessage {
    QString text;
    veldesk::MsgIcon icon;
    veldesk::MsgButtons buttons;
    QString title; // as shown: an empty title is reported as "VELDESK"
    veldesk::MsgAnswer defaultAnswer;
};

class ScriptedSeam final : public veldesk::Seam {
public:
    ScriptedSeam() { veldesk::setSeam(this); }
    ~ScriptedSeam() override { veldesk::setSeam(nullptr); }
    ScriptedSeam(const ScriptedSeam&) = delete;
    ScriptedSeam& operator=(const ScriptedSeam&) = delete;

    std::vector<ShownMessage> messages;
    std::deque<veldesk::MsgAnswer> answers;           // for questions, one per question asked
    std::deque<std::optional<QString>> inputs;        // for input boxes; cancel when empty
    std::deque<QString> files;                        // for file dialogs; cancel when empty
    QStringList inputPrompts, dialogTitles, dialogFilters, dialogExts, dialogInitial;
    QStringList openedDocuments;
    bool documentOpens = true;

    veldesk::MsgAnswer message(QWidget*, const QString& text, veldesk::MsgIcon icon,
                               veldesk::MsgButtons buttons, const QString& title,
                               veldesk::MsgAnswer defaultAnswer) override
    {
        messages.push_back({text, icon, buttons, title.isEmpty() ? veldesk::kProgramTitle : title, defaultAnswer});
        if (buttons == veldesk::MsgButtons::Ok)
            return veldesk::MsgAnswer::Ok;
        if (answers.empty()) {
            // A question the test did not expect is a fault of the program
            // or of the test; answering it anyway would hide either.
            ADD_FAILURE() << "a question no test scripted: " << text.toStdString();
            return buttons == veldesk::MsgButtons::YesNo ? veldesk::MsgAnswer::No : veldesk::MsgAnswer::Cancel;
        }
        const auto a = answers.front();
        answers.pop_front();
        return a;
    }

    std::optional<QString> inputBox(QWidget*, const QString& prompt, const QString& title,
                                    const QString& proposed) override
    {
        inputPrompts << prompt + QStringLiteral("|") + title + QStringLiteral("|") + proposed;
        if (inputs.empty())
            return std::nullopt;
        const bool cancelled = !inputs.front().has_value();
        const QString typed = inputs.front().value_or(QString());
        inputs.pop_front();
        if (cancelled)
            return std::nullopt;
        return typed;
    }

    QString openFileDialog(QWidget*, const QString& title, const QString& filterLabel,
                           const QString& pattern, const QString& defaultExt,
                           const QString& initialName) override
    {
        dialogTitles << title;
        dialogFilters << filterLabel + QStringLiteral("|") + pattern;
        dialogExts << defaultExt;
        dialogInitial << initialName;
        if (files.empty())
            return initialName;
        const QString f = files.front();
        files.pop_front();
        return f;
    }

    bool openDocument(const QString& path) override
    {
        openedDocuments << path;
        return documentOpens;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }
};
