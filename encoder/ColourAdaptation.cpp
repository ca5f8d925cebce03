#include "encoder/ColourAdaptation.h"

#include "encoder/ColourTable.h"
#include "encoder/DescriptorIO.h"
#include "encoder/EncoderError.h"
#include "platform/DescriptorIO.h"
#include "platform/Errors.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace velmora::encoder {
namespace {

// HLG's nominal peak, the guess for PQ content that does not state its own.
constexpr double kDefaultPeakNits = 1000;
// Points along each side of the colour table: between them lut3d interpolates.
constexpr int kTableSize = 33;
constexpr const char* kPlainPathCharacters =
    "/._-0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

bool HaveFilters() {
    static const bool have =
        avfilter_get_by_name("zscale") != nullptr && avfilter_get_by_name("lut3d") != nullptr;
    return have;
}

// The names zimg's filter takes.
const char* TransferName(AVColorTransferCharacteristic transfer, LightCoding coding) {
    if (coding == LightCoding::Pq)
        return "smpte2084";
    if (coding == LightCoding::Hlg)
        return "arib-std-b67";
    switch (transfer) {
    case AVCOL_TRC_BT2020_10:
        return "bt2020-10";
    case AVCOL_TRC_BT2020_12:
        return "bt2020-12";
    case AVCOL_TRC_SMPTE170M:
        return "smpte170m";
    default:
        return "bt709";
    }
}

// HDR that does not name its primaries is BT.2020, as every HDR format prescribes.
const char* PrimariesName(AVColorPrimaries primaries) {
    switch (primaries) {
    case AVCOL_PRI_BT709:
        return "bt709";
    case AVCOL_PRI_SMPTE431:
        return "smpte431";
    case AVCOL_PRI_SMPTE432:
        return "smpte432";
    default:
        return "bt2020";
    }
}

const char* MatrixName(AVColorSpace matrix) {
    switch (matrix) {
    case AVCOL_SPC_BT709:
        return "709";
    case AVCOL_SPC_BT2020_CL:
        return "2020_cl";
    default:
        return "2020_ncl";
    }
}

const char* RangeName(AVColorRange range) {
    return range == AVCOL_RANGE_JPEG ? "full" : "limited";
}

// The content's peak in units of reference white. HLG is relative to the display: its nominal peak.
double PeakOverReferenceWhite(const PictureColour& colour) {
    const double peak =
        LightCodingOf(colour) == LightCoding::Pq && colour.peakNits > 0 ? colour.peakNits : kDefaultPeakNits;
    return std::max(peak, kReferenceWhiteNits) / kReferenceWhiteNits;
}

// lut3d reads its table from a file named .cube: the tables live in a folder of the process's own,
// made on first use and removed at exit.
class TableFolder {
public:
    ~TableFolder() {
        for (const std::string& path : files_)
            unlink(path.c_str());
        if (!folder_.empty())
            rmdir(folder_.c_str());
    }

    std::string PathOf(const ColourTableSource& from) {
        const std::lock_guard<std::mutex> lock(mutex_);
        char name[64];
        std::snprintf(name, sizeof name, "/%d-%ld.cube", static_cast<int>(from.coding),
                      std::lround(from.peakOverReferenceWhite * 10000));
        if (folder_.empty())
            folder_ = MakeFolder();
        const std::string path = folder_ + name;
        if (std::find(files_.begin(), files_.end(), path) == files_.end()) {
            Write(path, CubeTable(from, kTableSize));
            files_.push_back(path);
        }
        return path;
    }

private:
    static std::string MakeFolder() {
        // The path is written into the filter graph's text, where some characters have meanings; a
        // TMPDIR that is missing or full leaves /tmp rather than fail the conversion.
        const char* temporary = std::getenv("TMPDIR");
        const bool plain = temporary != nullptr && *temporary == '/' &&
                           std::strspn(temporary, kPlainPathCharacters) == std::strlen(temporary);
        for (const char* base : {plain ? temporary : "/tmp", "/tmp"}) {
            std::string pattern = std::string(base) + "/velmora-colour-XXXXXX";
            if (mkdtemp(pattern.data()) != nullptr)
                return pattern;
        }
        throw EncoderError(std::string("Cannot make the colour table: ") + std::strerror(errno));
    }

    static void Write(const std::string& path, const std::string& text) {
        try {
            FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
            if (!file)
                RaiseLastOSError();
            WriteAll(file.Get(), text);
        } catch (const EOSError& failed) {
            unlink(path.c_str());
            throw EncoderError(std::string("Cannot make the colour table: ") + std::strerror(failed.Code()));
        }
    }

    std::mutex mutex_;
    std::string folder_;
    std::vector<std::string> files_;
};

std::string TablePath(const ColourTableSource& from) {
    static TableFolder folder;
    return folder.PathOf(from);
}

} // namespace

bool AdaptsColour(const PictureDescription& picture) {
    return NeedsAdaptation(picture.colour) && HaveFilters();
}

PictureDescription AdaptColour(const VideoFilterSettings& settings, const PictureDescription& picture,
                               FilterList& filters) {
    if (!AdaptsColour(picture))
        return picture;
    const PictureColour& colour = picture.colour;
    const LightCoding coding = LightCodingOf(colour);
    const char* transfer = TransferName(colour.transfer, coding);
    // The table takes BT.2020 primaries in the source's light coding, a Standard one as BT.709's.
    filters.push_back(std::string("zscale=tin=") + transfer + ":pin=" + PrimariesName(colour.primaries) +
                      ":min=" + MatrixName(colour.matrix) + ":rin=" + RangeName(colour.range) +
                      ":t=" + (coding == LightCoding::Standard ? "bt709" : transfer) + ":p=bt2020");
    filters.push_back("format=pix_fmts=gbrpf32le");
    filters.push_back("lut3d=file=" + TablePath({coding, PeakOverReferenceWhite(colour)}) +
                      ":interp=tetrahedral");
    // Dithering hides the banding that 8 bits would show in skies and shadows; an ordered pattern
    // costs the H.264 encoder far less than error diffusion's noise.
    filters.push_back(std::string("zscale=tin=bt709:pin=bt709:t=bt709:p=bt709:m=709:r=") +
                      RangeName(settings.range) + ":dither=ordered");
    filters.push_back(std::string("format=pix_fmts=") + av_get_pix_fmt_name(settings.format));
    PictureDescription adapted = picture;
    adapted.format = settings.format;
    adapted.colour = PictureColour{AVCOL_TRC_BT709, AVCOL_PRI_BT709, AVCOL_SPC_BT709, settings.range};
    return adapted;
}

} // namespace velmora::encoder
