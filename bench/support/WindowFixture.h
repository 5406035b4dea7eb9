#pragma once

#include "LargeData.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

class Program;
class TForm1;

// A generated Data folder, made once per size and kept for the whole benchmark run.
const QString& largeFolder(const LargeData& size);

// The real program started on a folder, with its window shown on the offscreen platform.
class RunningProgram {
public:
    explicit RunningProgram(const QString& folder);
    ~RunningProgram();
    TForm1& form() const;

private:
    std::unique_ptr<Program> m_program;
};

// Types text and keys into whatever widget has the focus, as the keyboard would.
void typeText(const QString& text);
void typeKey(int key);
// Lets Qt paint what the last action changed.
void settle();
// Resident memory of this process, in kilobytes.
long residentKb();
