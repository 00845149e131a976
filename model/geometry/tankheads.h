#pragma once

// The dished and coned heads of a horizontal cylindrical tank, and the wetted cross-section of
// its shell, in double precision with the true value of pi. Lengths in inches, volumes in cubic
// inches. A level is measured from the bottom of the shell and lies in [0, 2·radius]; the
// constructors expect sizes that Tank has already checked.

#include <array>

namespace brimwell {

// The area of a circle of `radius` below a horizontal line `level` above its lowest point.
double circleAreaBelow(double radius, double level);

// Half an ellipsoid of revolution: the shell's radius across, `depth` along the axis.
class EllipsoidalHead {
public:
    EllipsoidalHead(double radius, double depth);
    double volume() const;
    double volumeBelow(double level) const;

private:
    double radius_;
    double depth_;
};

// A right circular cone on the shell's end, its apex `depth` out along the axis.
class ConicalHead {
public:
    ConicalHead(double radius, double depth);
    double volume() const;
    double volumeBelow(double level) const;

private:
    double lowVolume(double wetted) const;
    double radius_;
    double depth_;
};

// A spherical crown of radius `crown` joined to the shell by a toroidal knuckle of radius
// `knuckle`, both tangent where they meet; needs radius ≤ crown and 0 < knuckle < radius.
class TorisphericalHead {
public:
    TorisphericalHead(double radius, double crown, double knuckle);
    double volume() const;
    double volumeBelow(double level) const;
    // The distances from the axis at which volumeBelow changes its form (the axis itself, where
    // the crown meets the knuckle, and where the knuckle's far side would begin): between them
    // the volume it gives is smooth in the level, its integration error included.
    std::array<double, 3> seams() const;
    // The knuckle's radius: the head's volume changes its course over no shorter distance.
    double knuckleRadius() const { return arcs_[0].bend; }

    // An arc of the head's profile in a plane through the axis: the points at distance
    // centre + bend·cos(φ) from the axis for φ in [from, to], which runs out along the axis
    // by bend·sin(φ). Its circle reaches `beyond` past the shell's radius, centre + bend − radius
    // without that sum's rounding.
    struct Arc {
        double centre;
        double bend;
        double from;
        double to;
        double beyond;
    };

private:
    double lowVolume(double wetted) const;
    double radius_;
    std::array<Arc, 2> arcs_;  // the knuckle, then the crown up to the apex
    double volume_ = 0;
};

}  // namespace brimwell
