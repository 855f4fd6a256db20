# Builds the LoadBuffer fuzzer with clang, writes a fresh seed corpus with SaveFile, and
# runs the fuzzer for SECONDS seconds. Fails on a build failure or on any finding (crash,
# sanitizer report, failed property, timeout of one input); the input that failed is kept
# under BUILD_DIR/artifacts/.
foreach(var PROJECT_DIR VETRIX_SOURCE_DIR BUILD_DIR GENERATOR CLANGXX SEEDS SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_lortan_file_fuzz.cmake needs -D${var}=...")
  endif()
endforeach()

function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc})")
  endif()
endfunction()

run_step("configuring the fuzz project" ${CMAKE_COMMAND} -S ${PROJECT_DIR} -B ${BUILD_DIR}
  -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
  -DVETRIX_SOURCE_DIR=${VETRIX_SOURCE_DIR})
run_step("building the fuzzer" ${CMAKE_COMMAND} --build ${BUILD_DIR} -j2)

set(corpus ${BUILD_DIR}/corpus)
file(REMOVE_RECURSE ${corpus})
file(MAKE_DIRECTORY ${corpus} ${BUILD_DIR}/artifacts)
run_step("writing the seed corpus" ${SEEDS} ${corpus})

run_step("fuzzing LoadBuffer" ${BUILD_DIR}/lortan_file_fuzz
  -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -max_len=65536
  -print_final_stats=1 -dict=${PROJECT_DIR}/lortan_file.dict
  -artifact_prefix=${BUILD_DIR}/artifacts/ ${corpus})
