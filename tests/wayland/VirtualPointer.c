/* A pointer for tests, driven through the compositor as a mouse would be: one virtual pointer
 * device (wlroots' protocol) for the client's whole life, so the windows know it before the
 * first tap. Reads commands on stdin, one a line, and answers "ok" on stdout once the
 * compositor has taken each in:
 *     move X Y WIDTH HEIGHT   the pointer to (X, Y) of the WIDTH by HEIGHT output layout
 *     press | release         the left button
 * Ends at the end of its input. */
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <stdio.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

#define BTN_LEFT 0x110

static struct wl_seat* g_seat;
static struct zwlr_virtual_pointer_manager_v1* g_manager;

static void Global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !g_seat)
        g_seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        g_manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}

static void GlobalRemove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener kRegistryListener = {Global, GlobalRemove};

static uint32_t Now(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "virtual-pointer: cannot connect to the compositor\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, NULL);
    wl_display_roundtrip(display);
    if (!g_manager) {
        fprintf(stderr, "virtual-pointer: the compositor offers no virtual pointers\n");
        return 2;
    }
    struct zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(g_manager, g_seat);

    char line[128];
    while (fgets(line, sizeof line, stdin)) {
        unsigned x, y, cx, cy;
        if (sscanf(line, "move %u %u %u %u", &x, &y, &cx, &cy) == 4) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, Now(), x, y, cx, cy);
        } else if (strncmp(line, "press", 5) == 0 || strncmp(line, "release", 7) == 0) {
            zwlr_virtual_pointer_v1_button(pointer, Now(), BTN_LEFT,
                                           line[0] == 'p' ? WL_POINTER_BUTTON_STATE_PRESSED
                                                          : WL_POINTER_BUTTON_STATE_RELEASED);
        } else {
            printf("unknown command\n");
            fflush(stdout);
            continue;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0) {
            fprintf(stderr, "virtual-pointer: the compositor went away\n");
            return 1;
        }
        printf("ok\n");
        fflush(stdout);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(g_manager);
    if (g_seat)
        wl_seat_destroy(g_seat);
    wl_registry_destroy(registry);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
