#include "numberbox.h"

#include "boxnumber.h"

namespace veldesk {

NumberBox::NumberBox(Rule rule, const QString& suffix, QWidget* parent)
    : QLineEdit(parent), m_rule(std::move(rule)), m_suffix(suffix)
{
    // A refused text stays in the box, red, until the operator corrects it:
    // put back quietly, the refusal would be as easy to miss as a silent change.
    connect(this, &QLineEdit::textEdited, this, &NumberBox::read);
}

void NumberBox::setValue(double v)
{
    const bool changed = v != m_value;
    m_value = v;
    setText(boxnumber::shown(v) + (m_suffix.isEmpty() ? QString() : QStringLiteral(" ") + m_suffix));
    showRefused(false, QString());
    if (changed)
        emit valueChanged(v);
}

void NumberBox::read(const QString& text)
{
    QString why;
    const auto v = m_rule(text, &why);
    showRefused(!v, why);
    if (v && *v != m_value) {
        m_value = *v;
        emit valueChanged(m_value);
    }
}

void NumberBox::showRefused(bool refused, const QString& why)
{
    if (refused == m_refused && (!refused || toolTip() == why))
        return;
    if (!m_refused)
        m_hint = toolTip();
    m_refused = refused;
    setStyleSheet(refused ? QStringLiteral("QLineEdit { background: rgb(255, 200, 200); }") : QString());
    setToolTip(refused ? why + QStringLiteral(" The figures use ") + boxnumber::shown(m_value)
                             + QStringLiteral(" until it is corrected.")
                       : m_hint);
}

} // namespace veldesk
