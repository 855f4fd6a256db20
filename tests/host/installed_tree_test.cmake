# installed_tree_test.cmake: the tree `cmake --install` lays out runs from its prefix.
# Installs the build into a fresh temporary prefix, writes the demo data with the installed
# generator, and runs the installed lortan --batch (which must find its module and report
# templates relative to itself) against the installed vetrix-check: same output, and the
# report written from the installed templates.
#   cmake -DBUILD_DIR=<build> -DWORK_DIR=<temporary folder> -P installed_tree_test.cmake
foreach(v BUILD_DIR WORK_DIR)
  if(NOT ${v})
    message(FATAL_ERROR "set ${v}")
  endif()
endforeach()
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(run_out "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(f bin/lortan bin/vetrix-check bin/vetrix-import bin/vetrix-demo-data lib/vetrix/plugins/libvetrix.so
          lib/vetrix/libvetrix_win.so lib/vetrix/libvetrix_unicode.so
          share/vetrix/templates/Vetrix/ReportTemplate.odt share/applications/lortan.desktop
          share/vetrix/examples/demo-areas.csv share/vetrix/examples/demo-certificates.csv)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

run(${prefix}/bin/vetrix-demo-data --out ${WORK_DIR}/demo)
run(${prefix}/bin/vetrix-check --db ${WORK_DIR}/demo/lortan.db)
set(check "${run_out}")
# Run from another folder, with the environment a desktop user has (no offscreen setting
# of ours): --batch itself makes the host headless.
run(env -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR ${prefix}/bin/lortan --batch --db ${WORK_DIR}/demo/lortan.db
    --profile ${WORK_DIR}/profile.db --select all --report ${WORK_DIR}/report.odt)
if(NOT run_out STREQUAL check)
  message(FATAL_ERROR "installed lortan --batch differs from vetrix-check:\n${run_out}\n---\n${check}")
endif()
# The installed import on the installed examples gives a database the installed check runs on.
run(${prefix}/bin/vetrix-import --areas ${prefix}/share/vetrix/examples/demo-areas.csv
    --certificates ${prefix}/share/vetrix/examples/demo-certificates.csv --out ${WORK_DIR}/imported)
run(${prefix}/bin/vetrix-check --db ${WORK_DIR}/imported/lortan.db)
if(NOT EXISTS ${WORK_DIR}/report.odt)
  message(FATAL_ERROR "no report from the installed templates")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
