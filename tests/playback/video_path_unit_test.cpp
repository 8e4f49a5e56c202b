// The choice of the video path from PLOVANA_VIDEO, the render device and the renderer of a
// probe context.
#include "playback/video_path.h"

#include <gtest/gtest.h>

namespace {

VideoPath pathFor(const char *env, std::optional<QString> renderer)
{
    return chooseVideoPath(videoPathRequest(QString::fromUtf8(env)), renderer).path;
}

} // namespace

TEST(VideoPath, HardwareRendererDrawsWithOpenGl)
{
    for (const char *r : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49)",
                          "NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", "virgl"})
        EXPECT_EQ(pathFor("", QString::fromUtf8(r)), VideoPath::OpenGL) << r;
}

TEST(VideoPath, SoftwareRasterizersDrawInSoftware)
{
    for (const char *r : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer (swrast)", "LLVMPIPE"})
        EXPECT_EQ(pathFor("", QString::fromUtf8(r)), VideoPath::Software) << r;
    const VideoPathChoice c = chooseVideoPath(VideoPathRequest::Auto, QStringLiteral("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(c.reason.contains(u"llvmpipe")) << c.reason.toStdString();
}

TEST(VideoPath, NoContextDrawsInSoftwareEvenWhenOpenGlIsForced)
{
    EXPECT_EQ(pathFor("", std::nullopt), VideoPath::Software);
    EXPECT_EQ(pathFor("gl", std::nullopt), VideoPath::Software);
    EXPECT_EQ(pathFor("gl", QString()), VideoPath::Software) << "an empty renderer is no context";
}

TEST(VideoPath, TheEnvironmentForcesEitherPath)
{
    EXPECT_EQ(pathFor("gl", QStringLiteral("llvmpipe (LLVM 15.0.6, 256 bits)")), VideoPath::OpenGL);
    EXPECT_EQ(pathFor(" GL ", QStringLiteral("llvmpipe")), VideoPath::OpenGL);
    EXPECT_EQ(pathFor("sw", QStringLiteral("AMD Radeon RX 6600")), VideoPath::Software);
    EXPECT_EQ(pathFor("SW", QStringLiteral("AMD Radeon RX 6600")), VideoPath::Software);
    // Anything else leaves the choice to the program.
    EXPECT_EQ(videoPathRequest(QStringLiteral("opengl")), VideoPathRequest::Auto);
    EXPECT_EQ(pathFor("vulkan", QStringLiteral("AMD Radeon RX 6600")), VideoPath::OpenGL);
    EXPECT_EQ(pathFor("vulkan", QStringLiteral("llvmpipe")), VideoPath::Software);
}

TEST(VideoPath, TheDriverIsProbedOnlyWhereItCanMatter)
{
    EXPECT_FALSE(wantsGlProbe(VideoPathRequest::Software, true));
    EXPECT_FALSE(wantsGlProbe(VideoPathRequest::Auto, false)) << "no render device: software without loading GL";
    EXPECT_TRUE(wantsGlProbe(VideoPathRequest::Auto, true));
    EXPECT_TRUE(wantsGlProbe(VideoPathRequest::OpenGL, false)) << "forced: Mesa's software GL counts too";
}
