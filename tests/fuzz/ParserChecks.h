#pragma once

#include <QByteArray>
#include <QStringList>

#include <span>

// What must hold of every parser that reads bytes from outside the program, beyond not crashing: a parse
// that succeeds yields values inside the ranges the clock uses, and whatever is cached decodes back to the
// same value. Shared by the libFuzzer targets and by the test that replays their corpora.
namespace ParserChecks {

// The broken rules for one input; empty when everything held (or the parser rightly refused the bytes).
using Check = QStringList (*)(const QByteArray& bytes);

struct Target {
    const char* name;
    Check check;
};

std::span<const Target> all();
const Target* find(const char* name);

}  // namespace ParserChecks
