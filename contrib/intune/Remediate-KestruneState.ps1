# Intune Remediations, remediation: apply the state file; exit 0 when the machine now matches,
# 1 when a change was refused (the summary says which).
$kestrunec = Join-Path $env:ProgramData 'Kestrune\kestrunec.exe'
$state = Join-Path $env:ProgramData 'Kestrune\startup-state.json'
$output = & $kestrunec apply $state
$status = $LASTEXITCODE
Write-Output ($output | Select-Object -First 1)
exit $status
