list(APPEND MIRRAVEL_CORE_SOURCES
  app/application.cpp
)
