# The packed catalogue, embedded at build time; a new data/catalogue.jc rebuilds the object.
list(APPEND MIRRAVEL_CORE_SOURCES data/catalogue_block.cpp)
set_source_files_properties(data/catalogue_block.cpp PROPERTIES
  COMPILE_DEFINITIONS "MIRRAVEL_CATALOGUE_BLOCK_FILE=\"${CMAKE_CURRENT_LIST_DIR}/catalogue.jc\""
  OBJECT_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/catalogue.jc)
