list(APPEND MIRRAVEL_CORE_SOURCES
  catalogue/catalogue_text.cpp
  catalogue/find.cpp
  catalogue/line_index.cpp
  catalogue/unpack_block.cpp
)
