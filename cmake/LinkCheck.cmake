# tallivox_forbid_links(TARGET LIBRARY...): fails the configuration when TARGET
# links any of the LIBRARYs, directly or through what it links, so that a layer
# meant to run without a screen cannot quietly come to need one. The check runs
# once every folder has been read, so that links added later count too.
function(tallivox_forbid_links target)
    # A deferred call reads its arguments when it runs: the names go in as text now.
    cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY \"${CMAKE_SOURCE_DIR}\" CALL tallivox_check_links ${target} ${ARGN})")
endfunction()

function(tallivox_check_links target)
    set(seen "")
    set(queue ${target})
    while(queue)
        list(POP_FRONT queue current)
        if(current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND seen ${current})
        if(current IN_LIST ARGN)
            message(FATAL_ERROR "${target} must not link ${current}, yet it does through what it links")
        endif()
        get_target_property(aliased ${current} ALIASED_TARGET)
        if(aliased)
            list(APPEND queue ${aliased})
        endif()
        foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
            get_target_property(libraries ${current} ${property})
            if(libraries)
                foreach(library IN LISTS libraries)
                    # Plain target names only: generator expressions name build settings.
                    if(NOT library MATCHES "^\\$<")
                        list(APPEND queue ${library})
                    endif()
                endforeach()
            endif()
        endforeach()
    endwhile()
endfunction()
