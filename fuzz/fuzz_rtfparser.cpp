// Feeds arbitrary bytes to the rich-text parser: it must report or raise RTFParseException,
// never crash, hang or read outside its input.
#include "render/uRTFParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    qsizetype reported = 0;
    TRTFParser parser;
    parser.OnText = [&reported](TRTFParser&, const QByteArray& text) { reported += text.size(); };
    parser.OnControl = [&reported](TRTFParser&, const QByteArray& word, bool, int) {
        reported += word.size();
    };
    parser.OnGroup = [&reported](TRTFParser& sender) { reported += sender.Depth() >= 0 ? 1 : 0; };
    try {
        parser.Parse(input);
    } catch (const RTFParseException&) {
    }
    return reported < 0 ? 1 : 0;
}
