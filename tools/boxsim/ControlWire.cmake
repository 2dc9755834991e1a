# The words of the box's control channel, for every platform: the box serves the channel,
# the tests' client speaks it, under Wine too. Included by the box and by the tests'
# support (a Windows build has no box of its own); the first one defines the target.
if(NOT TARGET vantorel_boxcontrolwire)
  add_library(vantorel_boxcontrolwire STATIC ${CMAKE_CURRENT_LIST_DIR}/ControlWire.cpp)
  # The box's value types (packets, faults, tables) come with the words; their headers
  # need no system of their own.
  target_include_directories(vantorel_boxcontrolwire PUBLIC ${CMAKE_CURRENT_LIST_DIR})
endif()
