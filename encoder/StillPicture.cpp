#include "encoder/StillPicture.h"

namespace velmora::encoder {

BarSearch CropWanted(const CropChoice& choice, const std::string& source) {
    switch (choice.mode) {
    case CropChoice::Mode::Given:
        return {BarSearch::Outcome::Found, choice.given};
    case CropChoice::Mode::Auto:
        return SearchBlackBars(source);
    case CropChoice::Mode::Off:
        break;
    }
    return {BarSearch::Outcome::NoBars, std::nullopt};
}

} // namespace velmora::encoder
