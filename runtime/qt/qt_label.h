#pragma once
// Labels, as the runtime's text properties describe them.

#include "runtime/control.h"

class QLabel;

void QtUpdateLabel(QLabel& widget, const Label& label);
