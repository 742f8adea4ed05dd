// tests/physics/TRigTest.cpp: rig colour and alpha storage, and drawing that leaves the state as found.
#include "physics/TRig.h"

#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "platform/Graphics2D.h"

#include <gtest/gtest.h>

using namespace ravel;

namespace
{

TImageRef SmallImage()
{
    auto pixmap = std::make_shared<TPixmap>();
    pixmap->width = 2;
    pixmap->height = 2;
    pixmap->format = PF_RGBA8888;
    pixmap->pixels.assign(16, 200);
    return TImage::FromPixmap(pixmap, 0);
}

} // namespace

TEST(TRigTest, ColorIsClampedAndStoredAsFractions)
{
    TRigRef rig = TRig::Create(nullptr, nullptr, nullptr, 0.0f);
    rig->SetColor(300, -5, 128);
    EXPECT_EQ(rig->red, 1.0f);
    EXPECT_EQ(rig->green, 0.0f);
    EXPECT_EQ(rig->blue, 128.0f / 255.0f);
    int r = -1, g = -1, b = -1;
    rig->GetColor(r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 128);
    for (int v = 0; v <= 255; ++v)
    {
        rig->SetColor(v, v, v);
        rig->GetColor(r, g, b);
        ASSERT_EQ(r, v);
        ASSERT_EQ(b, v);
    }
}

TEST(TRigTest, AlphaIsClampedToUnitRange)
{
    TRigRef rig = TRig::Create(nullptr, nullptr, nullptr, 0.0f);
    const float cases[][2] = {{2.0f, 1.0f}, {-1.0f, 0.0f}, {0.25f, 0.25f}, {1.0f, 1.0f}};
    for (const auto& c : cases)
    {
        rig->SetAlpha(c[0]);
        EXPECT_EQ(rig->GetAlpha(), c[1]) << c[0];
    }
}

TEST(TRigTest, DrawLeavesTheDrawingStateAsItFoundIt)
{
    TPhysics::Create(100.0f, 100.0f, 0.0f, 0.0f, 1);
    TMassRef a = TMass::Create(10.0f, 10.0f, 1.0f, 1.0f, 0.0f, 0);
    TMassRef b = TMass::Create(20.0f, 30.0f, 1.0f, 1.0f, 0.0f, 0);
    TRigRef rig = TRig::Create(SmallImage(), a, TConstraint::Create(a, b, 0.0f, 1.0f), 15.0f);
    rig->SetColor(10, 20, 30);
    rig->SetAlpha(0.5f);
    rig->SetScale(3.0f, 4.0f);
    rig->SetBlend(ALPHABLEND);

    SetBlend(LIGHTBLEND);
    SetRotation(12.5f);
    SetColor(100, 150, 200);
    SetAlpha(0.75f);
    SetScale(2.0f, 0.5f);
    EXPECT_EQ(rig->Draw(), 0);
    rig->SetConstraint(nullptr);
    EXPECT_EQ(rig->Draw(), 0);

    EXPECT_EQ(GetBlend(), LIGHTBLEND);
    EXPECT_EQ(GetRotation(), 12.5f);
    int r = 0, g = 0, bl = 0;
    GetColor(r, g, bl);
    EXPECT_EQ(r, 100);
    EXPECT_EQ(g, 150);
    EXPECT_EQ(bl, 200);
    EXPECT_EQ(GetAlpha(), 0.75f);
    float sx = 0.0f, sy = 0.0f;
    GetScale(sx, sy);
    EXPECT_EQ(sx, 2.0f);
    EXPECT_EQ(sy, 0.5f);
    EXPECT_FLOAT_EQ(rig->GetAngle(), 15.0f); // kept as an absolute rotation without the constraint

    // A rig that has lost its image or mass draws nothing and does not fail.
    rig->SetImage(nullptr);
    EXPECT_EQ(rig->Draw(), 0);
    TPhysics::Free();
}
