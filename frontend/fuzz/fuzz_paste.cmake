# Paste-cleaning fuzzing with libFuzzer (clang), beside the engine's reader
# harness and reusing its probe for a clang++ that links -fsanitize=fuzzer.
# The harness is compiled straight from the core sources it exercises and
# links the installed Qt Core; it carries its own sanitizers, so it stays out
# of the sanitized build.
if(NOT VELPRA_SANITIZE AND VELPRA_LIBFUZZER_WORKS)
  set(paste_fuzz_sources fuzz/fuzz_paste.cpp core/gridtext.cpp core/Module1.cpp)
  list(TRANSFORM paste_fuzz_sources PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  set(paste_fuzz_exe ${CMAKE_CURRENT_BINARY_DIR}/fuzz_paste)
  add_custom_command(OUTPUT ${paste_fuzz_exe}
    COMMAND ${VELPRA_CLANGXX} -std=c++20 -O1 -g -fPIC -ffp-contract=off -fno-fast-math
            -fsanitize=fuzzer,address,undefined -I${CMAKE_CURRENT_SOURCE_DIR}/core
            "-I$<JOIN:$<TARGET_PROPERTY:Qt6::Core,INTERFACE_INCLUDE_DIRECTORIES>,;-I>"
            ${paste_fuzz_sources} $<TARGET_FILE:Qt6::Core> -o ${paste_fuzz_exe}
    DEPENDS ${paste_fuzz_sources} ${CMAKE_CURRENT_SOURCE_DIR}/core/gridtext.h ${CMAKE_CURRENT_SOURCE_DIR}/core/Module1.h
    COMMAND_EXPAND_LISTS
    COMMENT "Building the paste-cleaning fuzz harness with clang++ and libFuzzer")
  add_custom_target(veldesk_fuzz_paste ALL DEPENDS ${paste_fuzz_exe})
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/fuzz_paste_corpus)
  add_test(NAME fuzz_paste
    COMMAND ${paste_fuzz_exe} -seed=1 -runs=200000 -max_total_time=30 -max_len=2048 -rss_limit_mb=2048
            ${CMAKE_CURRENT_BINARY_DIR}/fuzz_paste_corpus)
  set_tests_properties(fuzz_paste PROPERTIES LABELS nosan TIMEOUT 180)
endif()
