// physics/detail/DrawStateGuard.h: the caller's drawing state, kept while a rig or a zone draws itself.
#pragma once
#include "platform/Graphics2D.h"

namespace ravel::detail
{

/// Saves the blend mode, rotation, colour, alpha and scale of the drawing state and, when it goes out
/// of scope, sets the blend mode, colour, alpha, scale and rotation back, in that order.
class TDrawStateGuard
{
  public:
    TDrawStateGuard()
    {
        savedBlend = ravel::GetBlend();
        savedRotation = ravel::GetRotation();
        ravel::GetColor(savedRed, savedGreen, savedBlue);
        savedAlpha = ravel::GetAlpha();
        ravel::GetScale(savedScaleX, savedScaleY);
    }
    ~TDrawStateGuard()
    {
        ravel::SetBlend(savedBlend);
        ravel::SetColor(savedRed, savedGreen, savedBlue);
        ravel::SetAlpha(savedAlpha);
        ravel::SetScale(savedScaleX, savedScaleY);
        ravel::SetRotation(savedRotation);
    }
    TDrawStateGuard(const TDrawStateGuard&) = delete;
    TDrawStateGuard& operator=(const TDrawStateGuard&) = delete;

    /// Sets the colour and the alpha to the saved ones times the given fractions, so that a tint
    /// multiplies whatever colour and alpha the caller has set.
    void Tint(float red, float green, float blue, float alpha) const
    {
        ravel::SetColor(static_cast<int>(static_cast<float>(savedRed) * red),
                        static_cast<int>(static_cast<float>(savedGreen) * green),
                        static_cast<int>(static_cast<float>(savedBlue) * blue));
        ravel::SetAlpha(savedAlpha * alpha);
    }

  private:
    int savedBlend = 0;
    float savedRotation = 0.0f;
    int savedRed = 0, savedGreen = 0, savedBlue = 0;
    float savedAlpha = 0.0f;
    float savedScaleX = 1.0f, savedScaleY = 1.0f;
};

} // namespace ravel::detail
