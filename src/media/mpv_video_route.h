#pragma once
// How the picture reaches the screen. Where OpenGL runs on the graphics card,
// mpv draws with it (scaling and colour conversion in shaders, hardware
// decoding handed straight to GL). Where OpenGL is itself software (Mesa's
// llvmpipe, softpipe or swrast in virtual machines, remote desktops and on
// machines without a graphics driver), those shaders run on the CPU at many
// times the cost of mpv's own software conversion into an image: the picture
// is then drawn by mpv's software renderer into the window's raster buffer.
//
// The renderer is learnt from a small helper program that makes an OpenGL
// context on the same display and prints the renderer's name, so that the
// program itself loads no OpenGL driver where it will not use one. Where the
// helper is missing the OpenGL route is tried and its own renderer decides.
// REELBOX_VIDEO_ROUTE=software or =opengl forces either route.

#include <QByteArray>
#include <optional>

enum class VideoRoute { OpenGL, Software };

// The route REELBOX_VIDEO_ROUTE names, if it names one.
std::optional<VideoRoute> ForcedVideoRoute();

// True for the names software OpenGL implementations report as their renderer.
bool IsSoftwareRenderer(const QByteArray &renderer);

// What the helper found on the display.
struct RendererProbe
{
    enum class Outcome { Renderer, NoContext, NoHelper } outcome = Outcome::NoHelper;
    QByteArray renderer; // with Outcome::Renderer
};

// The route for a probe's outcome: software where OpenGL is software or
// cannot be had; OpenGL (its renderer checked once it is made) otherwise.
VideoRoute RouteForProbe(const RendererProbe &probe);

// Any thread: the helper's answer for this display, asked once per process.
const RendererProbe &ProbedRenderer();

// Any thread: the route forced, else the one the probe gives.
VideoRoute ChooseVideoRoute();
