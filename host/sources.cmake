list(APPEND MIRRAVEL_CORE_SOURCES
  host/copy_menu.cpp
  host/host_link.cpp
  host/reply_buffers.cpp
  host/search_word.cpp
)
