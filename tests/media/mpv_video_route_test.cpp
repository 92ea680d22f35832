// How the picture is drawn: software where OpenGL is software or missing,
// OpenGL on a graphics card, and REELBOX_VIDEO_ROUTE forcing either; on this
// machine's software OpenGL the engine draws in software unless forced.

#include "media/mpv_video_route.h"

#include "media/mpv_engine.h"

#include <gtest/gtest.h>

namespace {

using Outcome = RendererProbe::Outcome;

// REELBOX_VIDEO_ROUTE set to `value` (unset for null) while it lives.
class RouteVariable
{
public:
    explicit RouteVariable(const char *value)
        : saved_(qgetenv("REELBOX_VIDEO_ROUTE"))
        , wasSet_(qEnvironmentVariableIsSet("REELBOX_VIDEO_ROUTE"))
    {
        value ? qputenv("REELBOX_VIDEO_ROUTE", value) : qunsetenv("REELBOX_VIDEO_ROUTE");
    }
    ~RouteVariable() { wasSet_ ? qputenv("REELBOX_VIDEO_ROUTE", saved_) : qunsetenv("REELBOX_VIDEO_ROUTE"); }

private:
    QByteArray saved_;
    bool wasSet_;
};

} // namespace

TEST(VideoRoute, SoftwareWhereOpenGlIsSoftwareOrMissing)
{
    const struct
    {
        RendererProbe probe;
        VideoRoute route;
    } rows[] = {
        {{Outcome::Renderer, "llvmpipe (LLVM 15.0.6, 256 bits)"}, VideoRoute::Software},
        {{Outcome::Renderer, "softpipe"}, VideoRoute::Software},
        {{Outcome::Renderer, "Software Rasterizer"}, VideoRoute::Software}, // swrast
        {{Outcome::Renderer, "D3D12 (Microsoft Basic Render Driver)"}, VideoRoute::Software},
        {{Outcome::NoContext, {}}, VideoRoute::Software},
        // LLVM in a hardware driver's name is no software renderer.
        {{Outcome::Renderer, "AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0)"}, VideoRoute::OpenGL},
        {{Outcome::Renderer, "Mesa Intel(R) UHD Graphics 620 (KBL GT2)"}, VideoRoute::OpenGL},
        {{Outcome::Renderer, "NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2"}, VideoRoute::OpenGL},
        // No helper: OpenGL is tried, and its own renderer checked.
        {{Outcome::NoHelper, {}}, VideoRoute::OpenGL},
    };
    for (const auto &row : rows)
        EXPECT_EQ(RouteForProbe(row.probe), row.route) << row.probe.renderer.constData();
}

// Xvfb's OpenGL is llvmpipe: the helper finds it, and the engine draws in
// software; the variable forces either route, and a value it does not know
// is passed over.
TEST(VideoRoute, TheEngineDrawsInSoftwareOnSoftwareOpenGlUnlessForced)
{
    ASSERT_EQ(ProbedRenderer().outcome, Outcome::Renderer);
    EXPECT_TRUE(IsSoftwareRenderer(ProbedRenderer().renderer)) << ProbedRenderer().renderer.constData();
    const struct
    {
        const char *variable;
        VideoRoute route;
    } rows[] = {{nullptr, VideoRoute::Software},
                {"opengl", VideoRoute::OpenGL},
                {"software", VideoRoute::Software},
                {"vulkan", VideoRoute::Software}};
    for (const auto &row : rows) {
        const RouteVariable variable(row.variable);
        MpvEngine engine;
        EXPECT_EQ(engine.Route(), row.route) << (row.variable ? row.variable : "unset");
    }
}
