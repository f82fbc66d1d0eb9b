list(APPEND MIRRAVEL_CORE_SOURCES
  catalogue/catalogue_text.cpp
  catalogue/find.cpp
  catalogue/load_catalogue.cpp
  catalogue/unpack_block.cpp
)
