// The Qt window's widgets, for the input helpers (qt_input.cpp): each control's
// widget by its index and back, the window, the timer, and the text conversions
// at the Qt edge. Holds Qt types: only files compiled for Qt include it.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "text/text.h"
#include "window/binding.h"

namespace tc::qt_window {

QWidget* widget(Binding& b, ControlIndex control);  // null for an index outside the table
QWidget* window(Binding& b);
QTimer& timer(Binding& b);
ControlIndex index_of(Binding& b, const QObject* o);  // the control a widget belongs to
QString qt_text(TextView cp936);
Text cp936_text(const QString& s);  // "?" for a character without a cp936 form

}  // namespace tc::qt_window
