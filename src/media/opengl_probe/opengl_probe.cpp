// Prints the renderer of an OpenGL context made through EGL on the display
// EGL_PLATFORM names (x11 or wayland), and exits 0; exits non-zero where no
// context can be made. Run by the program to choose how it draws video
// without loading an OpenGL driver itself.

#include <EGL/egl.h>
#include <GL/gl.h>
#include <cstdio>

int main()
{
    EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        return 2;
    const EGLint configWanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    const EGLint surfaceSize[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
    EGLConfig config;
    EGLint configs = 0;
    int status = 3;
    if (eglBindAPI(EGL_OPENGL_API) && eglChooseConfig(display, configWanted, &config, 1, &configs) && configs > 0) {
        EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
        EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceSize);
        if (context != EGL_NO_CONTEXT && surface != EGL_NO_SURFACE
            && eglMakeCurrent(display, surface, surface, context)) {
            const auto *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
            if (renderer) {
                std::printf("%s\n", renderer);
                status = 0;
            }
        }
    }
    eglTerminate(display);
    return status;
}
