#include "selectdir.h"

// Placeholder until the data directory window lands.
selectdir::selectdir(QWidget* parent) : QDialog(parent) {}
