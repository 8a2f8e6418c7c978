# Intune Remediations, detection: exit 1 ("not compliant") when the machine drifts from the
# state file, so that the remediation script runs; the first line printed is the summary that
# the report shows (kept under 2,048 characters).
$kestrunec = Join-Path $env:ProgramData 'Kestrune\kestrunec.exe'
$state = Join-Path $env:ProgramData 'Kestrune\startup-state.json'
$output = & $kestrunec check $state
$status = $LASTEXITCODE
Write-Output ($output | Select-Object -First 1)
if ($status -eq 0) { exit 0 }
exit 1
