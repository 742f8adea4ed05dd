// physics/TRig.h: an image pinned to a mass and optionally turned by a constraint.
#pragma once
#include "physics/TObject.h"
#include "platform/TImage.h"

#include <memory>
#include <string>

namespace ravel
{

class TRig;
using TRigRef = std::shared_ptr<TRig>;

/// The visual part of a body: one image drawn at one mass, turned by an optional constraint, with its
/// own angle offset, scale, tint, alpha and blend mode. It takes no part in the simulation and keeps
/// no slot number; it reads its mass and constraint when it is drawn.
class TRig : public TObject
{
  public:
    /// New rig named "Rig" with scale 1, full colour, alpha 1 and blend 1 (mask); con may be null.
    static TRigRef Create(const TImageRef& image, const TMassRef& mass, const TConstraintRef& con,
                          float angle);

    int SetName(const std::string& n);
    std::string GetName() const { return name; }
    int SetImage(const TImageRef& i);
    TImageRef GetImage() const { return image; }
    int SetMass(const TMassRef& m);
    TMassRef GetMass() const { return mass; }
    /// Null removes the constraint; the angle is then absolute.
    int SetConstraint(const TConstraintRef& c);
    TConstraintRef GetConstraint() const { return con; }
    /// Degrees, added to the constraint's angle, or absolute without a constraint.
    int SetAngle(float degrees);
    float GetAngle() const { return angle; }
    int SetScale(float x, float y);
    int GetScale(float& x, float& y) const;
    /// Channels 0..255, clamped, stored as fractions of 255.
    int SetColor(int r, int g, int b);
    /// The stored fractions times 255, truncated.
    int GetColor(int& r, int& g, int& b) const;
    /// Clamped to [0, 1].
    int SetAlpha(float a);
    float GetAlpha() const { return alpha; }
    /// A blend mode number of the drawing layer, stored unchanged.
    int SetBlend(int mode);
    int GetBlend() const { return blend; }
    /// Draws frame 0 of the image at the mass in world space: the tint multiplies the caller's colour
    /// and alpha, the scale replaces the caller's. The drawing state is restored afterwards. A rig
    /// without image or mass draws nothing. Returns 0.
    int Draw() const;

    std::string name;
    TImageRef image;    ///< the image drawn; shared with the owning body's image table
    TMassRef mass;      ///< anchor: the image's handle lands on this mass
    TConstraintRef con; ///< optional: its direction turns the image
    float angle = 0.0f; ///< degrees
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float red = 1.0f; ///< tint fractions 0..1
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f; ///< opacity factor 0..1
    int blend = 1;      ///< blend mode; 1 = mask
};

} // namespace ravel
