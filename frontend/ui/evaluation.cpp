#include "evaluation.h"

// Placeholder until the evaluation run lands.
Evaluation::Evaluation(QWidget* owner, std::function<QString()> dataSetPath)
    : m_owner(owner), m_dataSetPath(std::move(dataSetPath)) {}
void Evaluation::setEngineProgram(const QString& path) { m_engine = path; }
QString Evaluation::engineProgram() const { return m_engine; }
void Evaluation::start() {}
void Evaluation::tick() {}
