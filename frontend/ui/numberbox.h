#pragma once
// A box for one number of the analysis window. What the operator types is
// read by a rule of boxnumber; while the text is not a number the rule
// accepts, the box turns red, its tooltip says why, and the value in use
// stays the last one read.
#include <QLineEdit>
#include <functional>
#include <optional>

namespace veldesk {

class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    using Rule = std::function<std::optional<double>(const QString& text, QString* problem)>;
    // suffix: shown after the number ("%"); the rule is expected to take it.
    NumberBox(Rule rule, const QString& suffix, QWidget* parent = nullptr);

    double value() const { return m_value; }
    void setValue(double v);
    // The text could not be read: the value is the last one that could.
    bool refused() const { return m_refused; }

signals:
    void valueChanged(double value);

private:
    void read(const QString& text);
    void showRefused(bool refused, const QString& why);

    Rule m_rule;
    QString m_suffix;
    QString m_hint;
    double m_value = 0;
    bool m_refused = false;
};

} // namespace veldesk
