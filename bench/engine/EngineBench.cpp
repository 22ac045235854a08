// Engine benchmarks on three generated songs: Detect, Transpose, FindEasiest,
// HighlightChords, the engine part of the document's "+" command, the
// window's move with its key note and the highlighted page in parts of a
// large song; Detect, Transpose and FindEasiest again with every song
// option on.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/Messages.h"
#include "chords/ChordCatalog.h"
#include "engine/Tablature.h"
#include "platform/MemoryTuning.h"
#include "render/Highlight.h"
#include "render/PartedPage.h"
#include "render/SongPage.h"

namespace {

// The engine shows no message; one that came would be counted, not printed.
class CountingSink final : public IMessageSink {
public:
    void ShowMessage(const std::string&) override { ++messages; }
    void ShowFatal(const std::string&) override {}
    long messages = 0;
};

CountingSink g_sink;

// An installed program's picture folder.
const std::string kPicturePrefix = "/usr/share/quavern/Pics/";

const SongPage& SongPageOf(const std::string& name) {
    static SongPage pages[3];
    static const char* const names[3] = {"5KB", "100KB", "1MB"};
    for (int i = 0; i < 3; ++i) {
        if (name != names[i])
            continue;
        if (pages[i].text.empty()) {
            const std::string path = std::string(QUAVERN_BENCH_SONGS) + "/song-" + name + ".txt";
            const SongRead read = ReadSongFile(path);
            if (read.status != SongReadStatus::Ok) {
                std::fprintf(stderr, "cannot read %s\n", path.c_str());
                std::exit(1);
            }
            pages[i] = BuildSongPage("/bench/song-" + name + ".txt", "TXT", read.bytes);
        }
        return pages[i];
    }
    std::abort();
}

const std::string& SongPageText(const std::string& name) {
    return SongPageOf(name).text;
}

// Every option on: every chord name (the songs hold Cadd9, Dsus4), spelling
// by key, columns kept, chord lines.
const SongOptions kEveryOption{true, Spelling::Key, true, true};

const CTablature& LoadedSong(const std::string& name, const SongOptions& options = SongOptions()) {
    static CTablature songs[2][3];
    static bool ready[2][3] = {};
    const int o = options.allChords ? 1 : 0;
    const int i = name == "5KB" ? 0 : name == "100KB" ? 1 : 2;
    if (!ready[o][i]) {
        songs[o][i].SetOptions(options);
        songs[o][i].Detect(SongPageText(name));
        ready[o][i] = true;
    }
    return songs[o][i];
}

void SetBytes(benchmark::State& state, const std::string& name) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(SongPageText(name).size()));
}

void Detect(benchmark::State& state, const std::string& name, const SongOptions& options) {
    const std::string& text = SongPageText(name);
    CTablature tablature;
    tablature.SetOptions(options);
    for (auto _ : state) {
        tablature.Detect(text);
        benchmark::DoNotOptimize(tablature.score);
    }
    SetBytes(state, name);
}

// The document's move: a copy of the loaded song, transposed by +2.
void Transpose(benchmark::State& state, const std::string& name, const SongOptions& options) {
    const CTablature& loaded = LoadedSong(name, options);
    CTablature working;
    for (auto _ : state) {
        working = loaded;
        working.Transpose(2);
        benchmark::DoNotOptimize(working.score);
    }
    SetBytes(state, name);
}

void FindEasiest(benchmark::State& state, const std::string& name, const SongOptions& options) {
    const CTablature& loaded = LoadedSong(name, options);
    CTablature working;
    for (auto _ : state) {
        working = loaded;
        benchmark::DoNotOptimize(working.FindEasiest());
    }
    SetBytes(state, name);
}

void HighlightChords(benchmark::State& state, const std::string& name) {
    const CTablature& loaded = LoadedSong(name);
    const HighlightSettings settings;
    for (auto _ : state) {
        CTablature display;
        display.text = loaded.text;
        HighlightChords(display, settings, kPicturePrefix);
        benchmark::DoNotOptimize(display.text.data());
    }
    SetBytes(state, name);
}

// "+" without the browser: the working copy from the loaded song moved by
// one more half-tone, then the highlighted page.
void DocumentUp(benchmark::State& state, const std::string& name) {
    const CTablature& loaded = LoadedSong(name);
    const HighlightSettings settings;
    CTablature working;
    int shift = 0;
    for (auto _ : state) {
        shift = shift == 6 ? -5 : shift + 1;
        working = loaded;
        working.Transpose(shift);
        std::string page = RenderDisplayPage(working, true, settings, kPicturePrefix);
        benchmark::DoNotOptimize(page.data());
    }
    SetBytes(state, name);
}

// A move of the window's slider without the page: the working copy from
// the loaded song moved to the next shift, then the key note's two keys.
void WindowMove(benchmark::State& state, const std::string& name, const SongOptions& options) {
    const CTablature& loaded = LoadedSong(name, options);
    CTablature working;
    int shift = 0;
    for (auto _ : state) {
        shift = shift == 6 ? -5 : shift + 1;
        working = loaded;
        working.Transpose(shift);
        benchmark::DoNotOptimize(loaded.Key());
        benchmark::DoNotOptimize(working.Key());
    }
    SetBytes(state, name);
}

// The highlighted display page of a song shown in parts (the 1 MB songbook;
// the smaller songs are shown whole).
void PartedPage(benchmark::State& state, const std::string& name) {
    const CTablature& loaded = LoadedSong(name);
    const AddedText& added = SongPageOf(name).added;
    const HighlightSettings settings;
    for (auto _ : state) {
        std::string page;
        benchmark::DoNotOptimize(BuildPartedDisplayPage(loaded.text, added, &settings, page, kPicturePrefix));
        benchmark::DoNotOptimize(page.data());
    }
    SetBytes(state, name);
}

void RegisterAll() {
    for (const char* song : {"5KB", "100KB", "1MB"}) {
        const std::string name = song;
        benchmark::RegisterBenchmark(("Detect/" + name).c_str(), Detect, name, SongOptions());
        benchmark::RegisterBenchmark(("Transpose/" + name).c_str(), Transpose, name, SongOptions());
        benchmark::RegisterBenchmark(("FindEasiest/" + name).c_str(), FindEasiest, name, SongOptions());
        benchmark::RegisterBenchmark(("HighlightChords/" + name).c_str(), HighlightChords, name);
        benchmark::RegisterBenchmark(("DocumentUp/" + name).c_str(), DocumentUp, name);
    }
    benchmark::RegisterBenchmark("WindowMove/1MB", WindowMove, std::string("1MB"), SongOptions());
    benchmark::RegisterBenchmark("WindowMove/1MB/options", WindowMove, std::string("1MB"), kEveryOption);
    benchmark::RegisterBenchmark("PartedPage/1MB", PartedPage, std::string("1MB"));
    for (const char* song : {"5KB", "100KB", "1MB"}) {
        const std::string name = song;
        benchmark::RegisterBenchmark(("Detect/" + name + "/options").c_str(), Detect, name, kEveryOption);
        benchmark::RegisterBenchmark(("Transpose/" + name + "/options").c_str(), Transpose, name, kEveryOption);
        benchmark::RegisterBenchmark(("FindEasiest/" + name + "/options").c_str(), FindEasiest, name, kEveryOption);
    }
}

} // namespace

int main(int argc, char** argv) {
    KeepFreedMemoryForReuse(); // as the program and the command-line tool do
    SetMessageSink(&g_sink);
    theChordCatalog.ResetAll();
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
