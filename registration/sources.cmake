list(APPEND MIRRAVEL_CORE_SOURCES
  registration/japbe_directory.cpp
  registration/tool_groups.cpp
  registration/registration_state.cpp
  registration/tools_file_rewrite.cpp
  registration/removal_batch.cpp
)
