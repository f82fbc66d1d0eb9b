list(APPEND MIRRAVEL_CORE_SOURCES
  ui/main_window_layout.cpp
  ui/event_queue.cpp
  ui/tab_order.cpp
  ui/control_focus.cpp
  ui/text_view_navigation.cpp
)
