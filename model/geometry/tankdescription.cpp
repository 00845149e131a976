#include "model/geometry/tankdescription.h"

namespace brimwell {

Expected<TankVolumes, TankError> shapeVolumes(const TankDescription& tank) {
    const auto inches = [&tank](double length) { return lengthToInches(length, tank.lengthUnit); };
    const double diameter = inches(tank.diameter);
    const double length = inches(tank.length);
    Heads heads = tank.heads;  // a head's depth in inches
    if (auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&heads);
        ellipsoidal && ellipsoidal->depth) {
        ellipsoidal->depth = inches(*ellipsoidal->depth);
    } else if (auto* conical = std::get_if<ConicalHeads>(&heads)) {
        conical->depth = inches(conical->depth);
    }
    auto shape = tank.vertical ? Tank::vertical(diameter, length)
                               : Tank::horizontal(diameter, length, heads);
    if (!shape) {
        return Unexpected(shape.error());
    }
    return TankVolumes::make(*std::move(shape), tank.top(), tank.lengthUnit, tank.volumeUnit);
}

std::string_view correctionWord(CorrectionTable table) {
    return kCorrectionWords.at(static_cast<std::size_t>(table));
}

std::optional<CorrectionTable> correctionNamed(std::string_view word) {
    return named<CorrectionTable>(kCorrectionWords, word);
}

std::string_view headWord(const Heads& heads) {
    return kHeadWords.at(heads.index());
}

std::optional<Heads> headsNamed(std::string_view word) {
    static const std::array<Heads, 5> kHeads{FlatHeads{}, HemisphericalHeads{},
                                             EllipsoidalHeads{}, TorisphericalHeads{},
                                             ConicalHeads{}};
    const auto index = named<std::size_t>(kHeadWords, word);
    if (!index) {
        return std::nullopt;
    }
    return kHeads.at(*index);
}

}  // namespace brimwell
