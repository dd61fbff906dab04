# The release date the About box shows, "Month D, YYYY" in UTC, taken from the source so that
# two builds of one source agree: SOURCE_DATE_EPOCH when it is set, else the time of the last
# commit of the checkout in `source_dir`, else (a source tree outside a checkout) the time of
# `fallback_file`. Usable in a script too (cmake -P).
function(vcp_release_date source_dir fallback_file out_var)
    set(epoch "$ENV{SOURCE_DATE_EPOCH}")
    if(epoch STREQUAL "")
        find_program(VCP_GIT_EXECUTABLE git)
        if(VCP_GIT_EXECUTABLE)
            execute_process(COMMAND ${VCP_GIT_EXECUTABLE} log -1 --format=%ct
                            WORKING_DIRECTORY ${source_dir}
                            RESULT_VARIABLE git_result
                            OUTPUT_VARIABLE epoch
                            OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
            if(NOT git_result EQUAL 0)
                set(epoch "")
            endif()
        endif()
    endif()
    if(NOT epoch MATCHES "^[0-9]+$")
        file(TIMESTAMP ${fallback_file} epoch "%s" UTC)
    endif()
    # string(TIMESTAMP) reads the time from SOURCE_DATE_EPOCH; it is set for these calls only.
    set(outer_epoch "$ENV{SOURCE_DATE_EPOCH}")
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
    string(TIMESTAMP month "%B" UTC)
    string(TIMESTAMP day "%d" UTC)
    string(TIMESTAMP year "%Y" UTC)
    set(ENV{SOURCE_DATE_EPOCH} "${outer_epoch}")
    math(EXPR day "${day}")
    set(${out_var} "${month} ${day}, ${year}" PARENT_SCOPE)
endfunction()
