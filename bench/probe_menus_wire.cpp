// How long `vcp-probe menus` takes against vcp-sim on a pseudo-terminal, next to the time
// the same bytes need on a real 115200-baud 8-O-1 line (11 bits a byte). Prints its figures.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kBitsPerByte = 11.0;
constexpr double kBaud = 115200.0;

struct TraceCount {
    long sentBytes = 0;
    long receivedBytes = 0;
    long requests = 0;
};

TraceCount CountTrace(const QString& path) {
    TraceCount count;
    QFile trace(path);
    if (!trace.open(QIODevice::ReadOnly)) {
        return count;
    }
    for (const QByteArray& line : trace.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3) {
            continue;
        }
        const long bytes = fields.size() - 2;
        if (fields[1] == ">") {
            count.sentBytes += bytes;
            ++count.requests;
        } else {
            count.receivedBytes += bytes;
        }
    }
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath();
    const QString units = argc > 1 ? argv[1] : "1:11";
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    QTemporaryDir dir;
    const QString line = dir.filePath("line");
    QProcess sim;
    sim.start(bin + "/vcp-sim", {"--pty", line, "--units", units});
    QByteArray output;
    while (!output.contains("ready") && sim.waitForReadyRead(10000)) {
        output += sim.readAllStandardOutput();
    }
    if (!output.contains("ready")) {
        std::fprintf(stderr, "vcp-sim did not start\n");
        return 1;
    }

    std::vector<double> times_ms;
    TraceCount count;
    qint64 imageBytes = 0;
    for (int run = 0; run < runs; ++run) {
        const QString trace = dir.filePath("trace.txt");
        const QString raw = dir.filePath("image.bin");
        QProcess probe;
        QElapsedTimer timer;
        timer.start();
        probe.start(bin + "/vcp-probe",
                    {"--port", line, "--trace", trace, "--unit", "1", "menus", "--raw", raw});
        probe.waitForFinished(120000);
        times_ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (probe.exitCode() != 0) {
            std::fprintf(stderr, "vcp-probe menus failed with status %d\n", probe.exitCode());
            return 1;
        }
        count = CountTrace(trace);
        QFile image(raw);
        image.open(QIODevice::ReadOnly);
        const QByteArray bytes = image.readAll();
        // The image ends where the unit's data ends: the last non-zero byte.
        imageBytes = bytes.size();
        while (imageBytes > 0 && bytes[imageBytes - 1] == 0) {
            --imageBytes;
        }
    }
    sim.terminate();
    sim.waitForFinished(5000);

    std::sort(times_ms.begin(), times_ms.end());
    const long wireBytes = count.sentBytes + count.receivedBytes;
    const double wire_ms = wireBytes * kBitsPerByte / kBaud * 1000.0;
    // Every request starts with one empty 20 ms read that drains stale input.
    const double drain_ms = count.requests * 20.0;
    std::printf("units %s, %d runs of vcp-probe --unit 1 menus over a pseudo-terminal\n",
                units.toLocal8Bit().constData(), runs);
    std::printf("menu image:            %lld bytes\n", static_cast<long long>(imageBytes));
    std::printf("requests:              %ld\n", count.requests);
    std::printf("bytes on the line:     %ld sent, %ld received\n", count.sentBytes,
                count.receivedBytes);
    std::printf("probe time:            min %.1f ms, median %.1f ms, max %.1f ms\n",
                times_ms.front(), times_ms[times_ms.size() / 2], times_ms.back());
    std::printf("115200 8-O-1 wire:     %.1f ms for those bytes\n", wire_ms);
    std::printf("drain reads:           %.1f ms (one empty 20 ms read before each request)\n",
                drain_ms);
    // The download starts with two break pulses, each followed by a 100 ms wait.
    constexpr double kBreakWaits_ms = 200.0;
    std::printf("break waits:           %.1f ms\n", kBreakWaits_ms);
    std::printf("wire + drain + breaks: %.1f ms\n", wire_ms + drain_ms + kBreakWaits_ms);
    return 0;
}
