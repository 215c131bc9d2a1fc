#include "about.h"

// Placeholder until the about window lands.
about::about(QWidget* parent) : QDialog(parent) {}
