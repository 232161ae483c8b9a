/* Real input for a headless KWin through its org_kde_kwin_fake_input, which
 * KWin hands only to a program whose desktop entry (Exec= its absolute path)
 * lists the interface in X-KDE-Wayland-Interfaces.
 *
 *   kwin_fake_input keys CODE...  presses evdev key codes in order, releases
 *                                 them in reverse (56 42 31: Alt+Shift+S)
 *   kwin_fake_input click X Y     moves the pointer to logical X, Y and
 *                                 clicks the left button
 * Ends with 1 where KWin offers it no fake input. */
#include "fake-input-client.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

static struct org_kde_kwin_fake_input *input;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *iface,
                   uint32_t version)
{
    (void)data;
    if (strcmp(iface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}

int main(int argc, char **argv)
{
    static const struct wl_registry_listener listener = {global, global_remove};
    struct wl_display *display = wl_display_connect(NULL);
    if (!display || argc < 3)
        return 2;
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    if (!input) {
        fprintf(stderr, "kwin_fake_input: KWin offers no fake input to this program\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(input, "kwin_fake_input", "test input");
    if (strcmp(argv[1], "click") == 0 && argc == 4) {
        org_kde_kwin_fake_input_pointer_motion_absolute(input, wl_fixed_from_int(atoi(argv[2])),
                                                        wl_fixed_from_int(atoi(argv[3])));
        org_kde_kwin_fake_input_button(input, 0x110, 1);
        org_kde_kwin_fake_input_button(input, 0x110, 0);
    } else if (strcmp(argv[1], "keys") == 0) {
        for (int i = 2; i < argc; ++i)
            org_kde_kwin_fake_input_keyboard_key(input, atoi(argv[i]), 1);
        for (int i = argc - 1; i >= 2; --i)
            org_kde_kwin_fake_input_keyboard_key(input, atoi(argv[i]), 0);
    } else {
        return 2;
    }
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
