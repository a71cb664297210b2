#pragma once
// The application-wide cursor shape for as long as this object lives; the
// shape before it comes back on every way out, exceptions included.

#include <QCursor>
#include <QGuiApplication>

class ScopedCursor {
public:
    explicit ScopedCursor(Qt::CursorShape shape) { QGuiApplication::setOverrideCursor(shape); }
    ~ScopedCursor() { QGuiApplication::restoreOverrideCursor(); }
    ScopedCursor(const ScopedCursor&) = delete;
    ScopedCursor& operator=(const ScopedCursor&) = delete;
};
