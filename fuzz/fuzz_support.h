#pragma once
// What the fuzz targets share: a scratch folder for the readers that take a path, checks that
// stop the run the way a sanitizer would, and small fixed maps to read into.

#include "model/map_store.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace fuzzing {

// Reports what went wrong and aborts, so that libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(const char *target, const char *what);

#define FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) \
            ::fuzzing::Fail(__FILE__, "check failed: " #condition); \
    } while (false)

// The input as a byte array (a deep copy, so that reads past its end are the sanitizer's to find).
QByteArray Bytes(const std::uint8_t *data, std::size_t size);

// A path inside this process's scratch folder, made on first use and removed at exit.
QString ScratchPath(const QString &name);

// Writes bytes to path, replacing what was there; aborts when it cannot.
void WriteScratchFile(const QString &path, const QByteArray &bytes);

// The whole content of path; aborts when it cannot be read.
QByteArray ReadScratchFile(const QString &path);

// A width x height map whose every byte, the unused part of the store included, follows a pattern
// of its own, so that any change shows.
std::unique_ptr<vantor::MapStore> PatternMap(int width, int height);

bool SameMap(const vantor::MapStore &a, const vantor::MapStore &b);

} // namespace fuzzing
