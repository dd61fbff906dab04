# The About box's release date comes from the source, never from the clock of the build:
# SOURCE_DATE_EPOCH first, then the last commit, and a tree outside a checkout still has one.
# Run as cmake -DVCP_SOURCE_DIR=<tree> -DVCP_WORK_DIR=<scratch folder> -P ReleaseDateCheck.cmake.
include(${VCP_SOURCE_DIR}/dialogs/ReleaseDate.cmake)

function(expect_date expected)
    vcp_release_date(${VCP_WORK_DIR} ${VCP_WORK_DIR}/CMakeLists.txt date)
    if(NOT date STREQUAL expected)
        message(FATAL_ERROR "expected \"${expected}\", the About box says \"${date}\"")
    endif()
endfunction()

find_program(git_program git REQUIRED)
find_program(touch_program touch REQUIRED)
file(REMOVE_RECURSE ${VCP_WORK_DIR})
file(MAKE_DIRECTORY ${VCP_WORK_DIR})
file(WRITE ${VCP_WORK_DIR}/CMakeLists.txt "")
unset(ENV{SOURCE_DATE_EPOCH})

# A tree outside any checkout: the date of its file.
execute_process(COMMAND ${touch_program} -d "2001-02-03 12:00 UTC" ${VCP_WORK_DIR}/CMakeLists.txt
                COMMAND_ERROR_IS_FATAL ANY)
set(ENV{GIT_DIR} ${VCP_WORK_DIR}/no-such-checkout)
expect_date("February 3, 2001")
unset(ENV{GIT_DIR})

# A checkout: its last commit's date, whatever the file's.
set(ENV{GIT_COMMITTER_DATE} "2019-07-04T23:30:00Z")
execute_process(COMMAND ${git_program} init -q WORKING_DIRECTORY ${VCP_WORK_DIR}
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${git_program} -c user.name=vcp -c user.email=vcp@invalid
                        -c commit.gpgsign=false commit -q --allow-empty -m release
                WORKING_DIRECTORY ${VCP_WORK_DIR} COMMAND_ERROR_IS_FATAL ANY)
expect_date("July 4, 2019")

# SOURCE_DATE_EPOCH before all, and the caller's value is put back.
set(ENV{SOURCE_DATE_EPOCH} 1700000000)
expect_date("November 14, 2023")
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "1700000000")
    message(FATAL_ERROR "the caller's SOURCE_DATE_EPOCH was not put back")
endif()
file(REMOVE_RECURSE ${VCP_WORK_DIR})
