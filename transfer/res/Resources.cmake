# The dialog template and the version block: plain data in the transfer core,
# so that every window (and the command line's --version) reads the same table.
# Included from transfer/CMakeLists.txt.
target_sources(transfer_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dialog_template.cpp
  ${CMAKE_CURRENT_LIST_DIR}/version_block.cpp)
target_include_directories(transfer_core PUBLIC ${CMAKE_CURRENT_LIST_DIR})
