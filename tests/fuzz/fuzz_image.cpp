// Fuzz target: a memory image of arbitrary content is decoded into a document
// and encoded again. Neither pass may read or write out of bounds, and a
// second read and write of the written image must settle (the same image
// again), so no record value can be left that the encoder cannot keep.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "data/image_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zr::RadioDocument doc;
    doc.image.fill(0xFF);
    std::copy_n(data, std::min<size_t>(size, doc.image.size()), doc.image.begin());
    zr::RadioFlags capability{};

    zr::DecodeImage(doc, capability);
    zr::EncodeImage(doc);
    zr::DecodeImage(doc, capability);
    zr::EncodeImage(doc);
    const zr::RadioImage settled = doc.image;
    zr::DecodeImage(doc, capability);
    zr::EncodeImage(doc);
    if (doc.image != settled) std::abort();
    return 0;
}
