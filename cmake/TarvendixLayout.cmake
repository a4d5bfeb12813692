# Each feature folder builds two libraries: the logic (tarvendix_<feature>, no QtWidgets) and its
# screens (tarvendix_<feature>_ui, in ui/). The companion program and the logic tests link only the
# logic, so a widget dependency slipping into it must fail the build; these helpers keep the list of
# targets that must stay widget-free and check them once every target is known.

set_property(GLOBAL PROPERTY TARVENDIX_WIDGET_FREE_TARGETS "")

# Marks targets whose link closure must not contain Qt6::Widgets.
function(tarvendix_widget_free)
  set_property(GLOBAL APPEND PROPERTY TARVENDIX_WIDGET_FREE_TARGETS ${ARGN})
endfunction()

function(_tarvendix_link_closure target out_var)
  set(seen "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      list(APPEND pending ${aliased})
    endif()
    get_target_property(type ${current} TYPE)
    set(links "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(iface ${current} INTERFACE_LINK_LIBRARIES)
    if(iface)
      list(APPEND links ${iface})
    endif()
    foreach(link IN LISTS links)
      # Generator expressions such as $<LINK_ONLY:x> name targets too.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      if(NOT link MATCHES "^\\$<")
        list(APPEND pending ${link})
      endif()
    endforeach()
  endwhile()
  set(${out_var} ${seen} PARENT_SCOPE)
endfunction()

# Called once at the end of the top-level CMakeLists.txt.
function(tarvendix_check_widget_free)
  get_property(targets GLOBAL PROPERTY TARVENDIX_WIDGET_FREE_TARGETS)
  foreach(target IN LISTS targets)
    _tarvendix_link_closure(${target} closure)
    foreach(forbidden Qt6::Widgets Qt::Widgets Qt6::PrintSupport Qt::PrintSupport)
      if(forbidden IN_LIST closure)
        message(FATAL_ERROR "${target} must not link ${forbidden}: logic and its tests stay widget-free "
                            "(screens belong in ui/ and in the _ui library).")
      endif()
    endforeach()
  endforeach()
endfunction()
