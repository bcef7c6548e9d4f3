// Writes the seed corpus: every file of the sample set, with its index
// file, in the fuzz input form.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "FuzzInput.h"
#include "SampleWriter.h"

namespace quor {

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool endsWith(const std::string& text, const char* tail)
{
    size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

int kindOf(const std::string& name)
{
    for (int k = 0; k < kFuzzKinds; ++k) {
        if (endsWith(name, kFuzzExtensions[k]))
            return k;
    }
    return 0;
}

}  // namespace

}  // namespace quor

int main(int argc, char** argv)
{
    using namespace quor;
    if (argc != 3) {
        std::fprintf(stderr, "usage: quor_fuzz_seeds SAMPLE_DIR CORPUS_DIR\n");
        return 2;
    }
    const std::string samples = argv[1];
    std::string failed;
    if (FAILED(writeSampleSet(samples, &failed))) {
        std::fprintf(stderr, "Unable to Write: %s\n", failed.c_str());
        return 1;
    }
    for (int i = 0; i < sampleFileCount(); ++i) {
        const SampleFileInfo& info = sampleFile(i);
        FuzzFiles files;
        files.kind = kindOf(info.name);
        files.data = readAll(samples + "/" + info.name);
        if (info.indexName[0])
            files.index = readAll(samples + "/" + info.indexName);
        std::ofstream out(std::string(argv[2]) + "/seed_" + info.name, std::ios::binary);
        out << joinFuzzInput(files);
        if (!out)
            return 1;
    }
    return 0;
}
