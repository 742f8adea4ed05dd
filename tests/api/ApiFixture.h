// tests/api/ApiFixture.h: a fresh world and a quiet event queue, made and dropped through the free forms.
#pragma once
#include "physics/TColEvent.h"
#include "physics/api/Api.h"
#include "platform/TImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace ravel::test
{

class ApiTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        PhysicsCreate(1000.0f, 800.0f, 0.0f, 0.0f, 1);
        ColEventSetMode(TColEvent::MODE_UPDATE);
        ColEventFlush();
        dir = std::filesystem::path(::testing::TempDir()) /
              ("ravel_api_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        ColEventFlush();
        ColEventSetMode(TColEvent::MODE_UPDATE);
        PhysicsFree();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    /// A 2 x 2 opaque image that needs no file.
    static TImageRef SmallImage()
    {
        auto pixmap = std::make_shared<TPixmap>();
        pixmap->width = 2;
        pixmap->height = 2;
        pixmap->format = PF_RGBA8888;
        pixmap->pixels.assign(16, 200);
        return TImage::FromPixmap(pixmap, 0);
    }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    std::filesystem::path dir;
};

} // namespace ravel::test
