// Times ScanFolder over a folder tree, and makes that tree.
//   bench_search_walk generate <folder>          ~100,000 files in ~5,000 folders
//   bench_search_walk walk <folder> <keyword> <runs>
// `walk` prints one wall-clock time in milliseconds per run on stdout, and the found and total
// counts of the last run on stderr.

#include "search/ScanFolder.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool makeFolder(const std::string& path) {
    return mkdir(path.c_str(), 0755) == 0;
}

bool makeFile(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        return false;
    }
    close(fd);
    return true;
}

// 20 artists x 15 albums x 16 discs: 5,120 folders, 21 files in each of the 4,800 leaves.
// Most files are MP3s (some with upper-case extensions), a few pictures and texts, one hidden.
int generate(const std::string& root) {
    if (!makeFolder(root)) {
        std::perror(root.c_str());
        return 1;
    }
    long files = 0;
    const char* words[] = {"love", "night", "river", "dance", "blue", "fire", "road", "heart"};
    for (int a = 0; a < 20; ++a) {
        const std::string artist = root + "/Artist " + std::to_string(a);
        makeFolder(artist);
        for (int b = 0; b < 15; ++b) {
            const std::string album = artist + "/Album " + std::to_string(b);
            makeFolder(album);
            for (int d = 0; d < 16; ++d) {
                const std::string disc = album + "/Disc " + std::to_string(d);
                makeFolder(disc);
                for (int t = 0; t < 21; ++t) {
                    const std::string word = words[(a * 7 + b * 5 + d * 3 + t) % 8];
                    std::string name = "Track " + std::to_string(t) + " - " + word + " song";
                    if (t < 16) {
                        name += ".mp3";
                    } else if (t < 18) {
                        name += ".MP3";
                    } else if (t < 19) {
                        name += ".jpg";
                    } else if (t < 20) {
                        name += ".txt";
                    } else {
                        name = "." + name + ".mp3";
                    }
                    if (!makeFile(disc + "/" + name)) {
                        std::perror(name.c_str());
                        return 1;
                    }
                    ++files;
                }
            }
        }
    }
    std::fprintf(stderr, "generated %ld files\n", files);
    return 0;
}

int walk(const std::string& root, const std::string& keyword, int runs) {
    SearchResults last;
    for (int i = 0; i < runs; ++i) {
        SearchResults results;
        const auto begin = std::chrono::steady_clock::now();
        search::ScanFolder(QString::fromStdString(root), QString::fromStdString(keyword), results);
        const auto end = std::chrono::steady_clock::now();
        std::printf("%.2f\n", std::chrono::duration<double, std::milli>(end - begin).count());
        last = std::move(results);
    }
    std::fprintf(stderr, "found %lld of %d\n", static_cast<long long>(last.names.size()), last.mp3Total);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "generate") {
        return generate(argv[2]);
    }
    if (argc == 5 && std::string(argv[1]) == "walk") {
        return walk(argv[2], argv[3], std::atoi(argv[4]));
    }
    std::fprintf(stderr, "usage: %s generate <folder> | walk <folder> <keyword> <runs>\n", argv[0]);
    return 2;
}
