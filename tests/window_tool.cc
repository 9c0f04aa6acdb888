// A test helper on an X display: waits for a process's top-level window to
// be mapped, or destroys it as another program would. Finds the window by
// its _NET_WM_PID property among the root window's children (no window
// manager runs on the test display).
//   window_tool wait PID      exit 0 once the window is mapped (1 after 30 s)
//   window_tool destroy PID   wait, then destroy it; exit 0 when done
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  Reply<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr),
      &std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The first mapped child of the root whose _NET_WM_PID is `pid`, or 0.
xcb_window_t FindMapped(xcb_connection_t* c, xcb_window_t root, xcb_atom_t pidAtom, uint32_t pid) {
  Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr),
                                     &std::free);
  if (!tree) return 0;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
    Reply<xcb_get_property_reply_t> property(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, children[i], pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr),
        &std::free);
    if (!property || xcb_get_property_value_length(property.get()) != 4) continue;
    uint32_t value = 0;
    std::memcpy(&value, xcb_get_property_value(property.get()), 4);
    if (value != pid) continue;
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr),
        &std::free);
    if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) return children[i];
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool destroy = argc == 3 && std::strcmp(argv[1], "destroy") == 0;
  if (argc != 3 || (!destroy && std::strcmp(argv[1], "wait") != 0)) {
    std::fputs("usage: window_tool wait|destroy PID\n", stderr);
    return 2;
  }
  const auto pid = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c) != 0) {
    std::fputs("window_tool: no display\n", stderr);
    return 2;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t pidAtom = Atom(c, "_NET_WM_PID");
  xcb_window_t window = 0;
  for (int tries = 0; tries < 600 && window == 0; ++tries) {
    window = FindMapped(c, root, pidAtom, pid);
    if (window == 0) usleep(50000);
  }
  if (window == 0) {
    std::fprintf(stderr, "window_tool: no window of process %u\n", pid);
    return 1;
  }
  if (destroy) {
    xcb_generic_error_t* error = xcb_request_check(c, xcb_destroy_window_checked(c, window));
    if (error != nullptr) {
      std::fprintf(stderr, "window_tool: destroying failed: X error %d\n", error->error_code);
      std::free(error);
      return 1;
    }
  }
  xcb_disconnect(c);
  return 0;
}
