// libmpv, loaded when the first file plays rather than when the program
// starts. libmpv brings some two hundred libraries with it (FFmpeg, its codecs,
// sound and graphics back ends); loading them up front more than doubled the
// time to the main window. These definitions carry libmpv's own names and
// signatures, so MpvEngine is written against the ordinary API; each one finds
// the real function in libmpv on its first call. Without libmpv mpv_create
// returns null and the engine reports itself unusable; no other call is made.

#include <dlfcn.h>
#include <mpv/client.h>
#include <mpv/render_gl.h>

namespace {

void *Library()
{
    static void *const library = dlopen(REELBOX_MPV_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    return library;
}

template <typename Function>
Function Resolve(const char *name)
{
    void *library = Library();
    return library ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
}

} // namespace

// Defines `name` to call libmpv's function of that name, or to give `fallback`
// when libmpv cannot be loaded.
#define REELBOX_FORWARD(result, name, parameters, arguments, fallback)                                                 \
    extern "C" result name parameters                                                                                  \
    {                                                                                                                  \
        static const auto real = Resolve<decltype(&name)>(#name);                                                      \
        if (!real)                                                                                                     \
            return fallback;                                                                                           \
        return real arguments;                                                                                         \
    }

namespace {
mpv_event NoEvent{}; // MPV_EVENT_NONE, for a wait without libmpv
} // namespace

REELBOX_FORWARD(mpv_handle *, mpv_create, (void), (), nullptr)
REELBOX_FORWARD(int, mpv_initialize, (mpv_handle * ctx), (ctx), MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(void, mpv_terminate_destroy, (mpv_handle * ctx), (ctx), )
REELBOX_FORWARD(const char *, mpv_error_string, (int error), (error), "libmpv is missing")
REELBOX_FORWARD(int, mpv_set_option_string, (mpv_handle * ctx, const char *name, const char *data), (ctx, name, data),
                MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(int, mpv_request_log_messages, (mpv_handle * ctx, const char *min_level), (ctx, min_level),
                MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(int, mpv_command_async, (mpv_handle * ctx, uint64_t reply_userdata, const char **args),
                (ctx, reply_userdata, args), MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(int, mpv_get_property_async,
                (mpv_handle * ctx, uint64_t reply_userdata, const char *name, mpv_format format),
                (ctx, reply_userdata, name, format), MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(int, mpv_get_property, (mpv_handle * ctx, const char *name, mpv_format format, void *data),
                (ctx, name, format, data), MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(int, mpv_set_property_async,
                (mpv_handle * ctx, uint64_t reply_userdata, const char *name, mpv_format format, void *data),
                (ctx, reply_userdata, name, format, data), MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(int, mpv_observe_property,
                (mpv_handle * mpv, uint64_t reply_userdata, const char *name, mpv_format format),
                (mpv, reply_userdata, name, format), MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(int, mpv_hook_add, (mpv_handle * ctx, uint64_t reply_userdata, const char *name, int priority),
                (ctx, reply_userdata, name, priority), MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(int, mpv_hook_continue, (mpv_handle * ctx, uint64_t id), (ctx, id), MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(void, mpv_set_wakeup_callback, (mpv_handle * ctx, void (*cb)(void *d), void *d), (ctx, cb, d), )
REELBOX_FORWARD(mpv_event *, mpv_wait_event, (mpv_handle * ctx, double timeout), (ctx, timeout), &NoEvent)
REELBOX_FORWARD(int, mpv_render_context_create, (mpv_render_context * *res, mpv_handle *mpv, mpv_render_param *params),
                (res, mpv, params), MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(void, mpv_render_context_free, (mpv_render_context * ctx), (ctx), )
REELBOX_FORWARD(int, mpv_render_context_get_info, (mpv_render_context * ctx, mpv_render_param param), (ctx, param),
                MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(int, mpv_render_context_render, (mpv_render_context * ctx, mpv_render_param *params), (ctx, params),
                MPV_ERROR_UNINITIALIZED)
REELBOX_FORWARD(void, mpv_render_context_set_update_callback,
                (mpv_render_context * ctx, mpv_render_update_fn callback, void *callback_ctx),
                (ctx, callback, callback_ctx), )
REELBOX_FORWARD(uint64_t, mpv_render_context_update, (mpv_render_context * ctx), (ctx), 0)
REELBOX_FORWARD(void, mpv_render_context_report_swap, (mpv_render_context * ctx), (ctx), )
