list(APPEND MIRRAVEL_CORE_SOURCES
  app/application.cpp
  app/find_flow.cpp
  app/help_flow.cpp
  app/host_flow.cpp
  app/load_catalogue.cpp
  app/registration_flow.cpp
)
