// zrcps-cli encode / decode: a document file to the radio's 5120-byte memory
// image and back, exactly as a write to the radio and a read from it would
// build them (model and band from the document, ID code lengths aligned).

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/command.h"
#include "data/bands.h"
#include "data/image_codec.h"
#include "data/new_document_defaults.h"
#include "files/document_record.h"
#include "files/file_io.h"
#include "shell/session.h"

namespace {

// Writes the whole file through a temporary file in the same folder, so an
// existing image is never left half written.
bool writeWholeFile(const std::string& path, const zr::RadioImage& image, std::string& error) {
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot create " + tmp;
            return false;
        }
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        out.flush();
        if (!out) {
            error = "cannot write " + tmp;
            std::error_code ec;
            std::filesystem::remove(tmp, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        error = "cannot replace " + path + ": " + ec.message();
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
}

int RunEncode(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zrcps-cli encode FILE.dat IMAGE.bin\n");
        return 2;
    }
    zr::RecordError why = zr::RecordError::None;
    auto stored = zr::ReadDocumentRecordFile(args[0], &why);
    if (!stored) {
        std::fprintf(stderr, "zrcps-cli encode: %s: %s\n", args[0].c_str(), zr::DescribeRecordError(why).c_str());
        return 1;
    }
    if (stored->FormatVersion.text() != "V100") {
        std::fprintf(stderr, "zrcps-cli encode: %s: document version \"%s\", this program reads \"V100\"\n",
                     args[0].c_str(), stored->FormatVersion.text().c_str());
        return 1;
    }
    zr::Session s;
    s.doc.stored = *stored;
    zr::ApplyModelBand(s.doc);
    zr::AlignIdCodeLengths(s);
    zr::EncodeImage(s.doc);
    std::string error;
    if (!writeWholeFile(args[1], s.doc.image, error)) {
        std::fprintf(stderr, "zrcps-cli encode: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %d channels, model \"%s\", band \"%s\" -> %s (%d bytes)\n", args[0].c_str(),
                static_cast<int>(s.doc.stored.Channels.count), s.doc.currentModel.c_str(),
                s.doc.currentBand.c_str(), args[1].c_str(), zr::kRadioImageSize);
    return 0;
}

int RunDecode(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zrcps-cli decode IMAGE.bin FILE.dat\n");
        return 2;
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(args[0], ec);
    if (ec) {
        std::fprintf(stderr, "zrcps-cli decode: cannot read %s: %s\n", args[0].c_str(), ec.message().c_str());
        return 1;
    }
    if (size != static_cast<std::uintmax_t>(zr::kRadioImageSize)) {
        std::fprintf(stderr, "zrcps-cli decode: %s holds %ju bytes; a memory image has exactly %d\n",
                     args[0].c_str(), static_cast<std::uintmax_t>(size), zr::kRadioImageSize);
        return 1;
    }
    std::vector<uint8_t> bytes;
    if (!zr::ReadFileHead(args[0], zr::kRadioImageSize, bytes) ||
        bytes.size() != static_cast<std::size_t>(zr::kRadioImageSize)) {
        std::fprintf(stderr, "zrcps-cli decode: cannot read %s\n", args[0].c_str());
        return 1;
    }

    // A new document takes what the radio image holds, as after a read.
    zr::Session s;
    s.doc.currentModel = zr::kModelId;
    s.doc.currentBand = zr::kDefaultBand;
    zr::RefreshBandLimits(s.doc);
    zr::NewDocumentDefaults(s);
    std::copy(bytes.begin(), bytes.end(), s.doc.image.begin());
    zr::RadioFlags capability{};
    zr::DecodeImage(s.doc, capability);
    zr::AlignIdCodeLengths(s);

    std::string error;
    if (!zr::WriteDocumentRecordFile(args[1], s.doc.stored, &error)) {
        std::fprintf(stderr, "zrcps-cli decode: cannot write %s: %s\n", args[1].c_str(), error.c_str());
        return 1;
    }
    std::printf("%s -> %s: %d channels, model \"%s\", band \"%s\"\n", args[0].c_str(), args[1].c_str(),
                static_cast<int>(s.doc.stored.Channels.count), s.doc.currentModel.c_str(),
                s.doc.currentBand.empty() ? "(unknown band code)" : s.doc.currentBand.c_str());
    return 0;
}

zrcli::CliCommand encodeCommand{"encode", "FILE.dat IMAGE.bin  build the radio memory image of a document",
                                RunEncode};
zrcli::CliCommand decodeCommand{"decode", "IMAGE.bin FILE.dat  turn a radio memory image into a document",
                                RunDecode};

}  // namespace
