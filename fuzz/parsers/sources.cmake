# The parser checks, shared by the fuzz targets and the seed replay of the tests; one fuzz
# target per entry of ParserTargets() (parsers/ParserTargets.cpp).
set(VCP_PARSER_CHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ParserTargets.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MenuRecordsChecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AnswerChecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StorageListChecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ServiceTextChecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SnapshotChecks.cpp)
set(VCP_PARSER_TARGETS menu_records parameter_answers effect_answers directory_list gpi_list
    effect_list sequence_record config_file bypass_frame about_text snapshot_file)
set(VCP_PARSER_CHECK_LIBS vcp_link vcp_app_core vcp_history vcp_dialog_texts)
