#include "bench/support/CorpusPng.h"

#include "bench/support/Corpus.h"

std::string corpusPngPath(const std::string& name)
{
    return corpusDir() + "/" + name;
}

Bitmap loadCorpusPng(const std::string& path)
{
    return decodeCorpusPng(path);
}

Bitmap loadCorpusPicture(const std::string& name)
{
    return decodeCorpusPng(corpusPngPath(name));
}
