// libFuzzer target for the rich-text reader, for runs longer than the suite's seeded test:
//   cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
//   cmake --build build-fuzz --target fuzz_rtf -j2
//   build-fuzz/bin/fuzz_rtf -max_total_time=600 tests/paint/rtf
#include "paint/RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // fonts for the text document
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QTextDocument doc;
    Rtf::read(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), doc);
    return 0;
}
