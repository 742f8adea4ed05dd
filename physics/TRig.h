// physics/TRig.h: an image pinned to a mass and optionally turned by a constraint.
#pragma once
#include "physics/TObject.h"
#include "platform/TImage.h"

#include <memory>
#include <string>

namespace ravel
{

class TRig;
/// A shared handle on a rig.
using TRigRef = std::shared_ptr<TRig>;

/// The visual part of a body: one image drawn at one mass, turned by an optional constraint, with its
/// own angle offset, scale, tint, alpha and blend mode. It takes no part in the simulation and keeps
/// no slot number; it reads its mass and constraint when it is drawn.
class TRig : public TObject
{
  public:
    /// New rig (never null) named "Rig" with scale 1, full colour, alpha 1 and blend 1 (mask); the
    /// handles are stored unchecked, con may be null. angle in degrees (see SetAngle).
    static TRigRef Create(const TImageRef& image, const TMassRef& mass, const TConstraintRef& con,
                          float angle);

    ///@{
    /// A free label, "Rig" from Create; SetName returns 0.
    int SetName(const std::string& n);
    std::string GetName() const { return name; }
    ///@}
    ///@{
    /// The image drawn, frame 0 with its handle on the mass; null draws nothing. SetImage returns 0.
    int SetImage(const TImageRef& i);
    TImageRef GetImage() const { return image; }
    ///@}
    ///@{
    /// The anchor mass; null draws nothing. SetMass returns 0.
    int SetMass(const TMassRef& m);
    TMassRef GetMass() const { return mass; }
    ///@}
    /// The constraint whose direction turns the image; null removes it, and the angle is then
    /// absolute. Returns 0.
    int SetConstraint(const TConstraintRef& c);
    /// The turning constraint, or null.
    TConstraintRef GetConstraint() const { return con; }
    /// Degrees, added to the constraint's angle, or absolute without a constraint. Returns 0.
    int SetAngle(float degrees);
    /// The angle offset, degrees.
    float GetAngle() const { return angle; }
    ///@{
    /// Scale factors of the image, unclamped, 1 at the start; drawing replaces the caller's scale with
    /// them (the camera's zoom still applies). SetScale returns 0, GetScale writes both and returns 0.
    int SetScale(float x, float y);
    int GetScale(float& x, float& y) const;
    ///@}
    /// Tint channels 0..255, clamped, stored as fractions of 255; the tint multiplies the caller's
    /// drawing colour. Returns 0.
    int SetColor(int r, int g, int b);
    /// The stored fractions times 255, truncated: every value 0..255 set reads back unchanged.
    /// Returns 0.
    int GetColor(int& r, int& g, int& b) const;
    /// Opacity factor, clamped to [0, 1] (NaN gives 0); it multiplies the caller's alpha. Returns 0.
    int SetAlpha(float a);
    /// Opacity factor, 0 to 1.
    float GetAlpha() const { return alpha; }
    /// A blend mode number of the drawing layer (1 mask, 2 solid, 3 alpha, 4 light, 5 shade; others
    /// draw as solid), stored unchanged. Returns 0.
    int SetBlend(int mode);
    /// The blend mode number.
    int GetBlend() const { return blend; }
    /// Draws frame 0 of the image at the mass in world space: the tint multiplies the caller's colour
    /// and alpha, the scale replaces the caller's. The drawing state is restored afterwards. A rig
    /// without image or mass draws nothing. Returns 0.
    int Draw() const;

    /// A free label.
    std::string name;
    TImageRef image;    ///< the image drawn; shared with the owning body's image table
    TMassRef mass;      ///< anchor: the image's handle lands on this mass
    TConstraintRef con; ///< optional: its direction turns the image
    float angle = 0.0f; ///< degrees
    ///@{
    /// Scale factors of the image.
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    ///@}
    ///@{
    float red = 1.0f; ///< tint fractions 0..1
    float green = 1.0f;
    float blue = 1.0f;
    ///@}
    float alpha = 1.0f; ///< opacity factor 0..1
    int blend = 1;      ///< blend mode; 1 = mask
};

} // namespace ravel
