list(APPEND MIRRAVEL_CORE_SOURCES
  catalogue/catalogue_text.cpp
  catalogue/find.cpp
  catalogue/unpack_block.cpp
  catalogue/unpack_catalogue.cpp
)
