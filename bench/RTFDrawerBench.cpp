// Rich text: parsing and measuring a text element's text, and breaking it into lines.
#include "BenchSupport.h"

#include "render/uRTFDrawer.h"
#include "render/uRTFParser.h"

#include <benchmark/benchmark.h>

namespace {

// What the text panel's editor writes for a short caption: tables, a few formats, two paragraphs.
QByteArray typicalText(int repeats) {
    QByteArray text =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 Times "
        "New Roman;}}{\\colortbl ;\\red255\\green0\\blue0;}\\pard\\qc\\f0\\fs24 ";
    for (int i = 0; i < repeats; ++i)
        text +=
            "Unser Urlaub am Meer: \\b Sonne\\b0 , Strand und \\cf1 viel\\cf0  Spa\\'df mit der Foto-Kamera. "
            "\\f1\\i Erinnerungen\\i0\\f0  f\\'fcr die ganze Familie.\\par ";
    return text + "}";
}

void BM_RTFParse(benchmark::State& state) {
    const QByteArray text = typicalText(int(state.range(0)));
    for (auto _ : state) {
        int events = 0;
        TRTFParser parser;
        parser.OnText = [&events](TRTFParser&, const QByteArray&) { ++events; };
        parser.OnControl = [&events](TRTFParser&, const QByteArray&, bool, int) { ++events; };
        parser.Parse(text);
        benchmark::DoNotOptimize(events);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_RTFParse)->Arg(8)->Arg(8000)->Unit(benchmark::kMicrosecond);

// Parsing, tokens and measuring with the real font metrics.
void BM_RTFSetRTF(benchmark::State& state) {
    const QByteArray text = typicalText(int(state.range(0)));
    BenchSupport::resetPeakRss();
    for (auto _ : state) {
        TRTFDrawer drawer;
        drawer.SetRTF(text);
        benchmark::DoNotOptimize(drawer.TokenCount());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
    state.counters["peak_rss_mb"] = BenchSupport::peakRssMb();
}
BENCHMARK(BM_RTFSetRTF)->Arg(8)->Arg(8000)->Unit(benchmark::kMicrosecond);

void BM_RTFLayout(benchmark::State& state) {
    TRTFDrawer drawer;
    drawer.SetRTF(typicalText(int(state.range(0))));
    double width = 80;
    for (auto _ : state) {
        // A different width each time, so that every call breaks the lines anew.
        width = width == 80 ? 80.5 : 80;
        drawer.Layout(width);
        benchmark::DoNotOptimize(drawer.LineCount());
    }
}
BENCHMARK(BM_RTFLayout)->Arg(8)->Arg(8000)->Unit(benchmark::kMicrosecond);

} // namespace
