'use strict'

const { InstanceStatus, Regex } = require('@companion-module/base')

// The port the panel's line protocol listens on unless its user changed it.
const kPanelPort = 7401

function configFields() {
	return [
		{
			type: 'static-text',
			id: 'about',
			width: 12,
			label: '',
			value:
				"Turn on the panel's network control (right-click the panel, Network control...) with the line protocol, and let this machine's address in its allowed clients.",
		},
		{ type: 'textinput', id: 'host', label: 'Panel address', width: 8, default: '127.0.0.1', regex: Regex.HOSTNAME },
		{ type: 'number', id: 'port', label: 'Port', width: 4, default: kPanelPort, min: 1, max: 65535 },
	]
}

// Why `config` cannot be used, or '' when it can.
function configProblem(config) {
	const host = String(config?.host ?? '').trim()
	const port = Number(config?.port)
	if (host === '' || !/^[A-Za-z0-9.:[\]-]+$/.test(host)) return 'The panel address is no host name or address.'
	if (!Number.isInteger(port) || port < 1 || port > 65535) return 'The port is a number from 1 to 65535.'
	return ''
}

// What the hub shows of the connection for a status of the client, with the panel's own text.
function hubStatus(state, text) {
	switch (state) {
		case 'ok':
			return [InstanceStatus.Ok, null]
		case 'connecting':
			return [InstanceStatus.Connecting, text]
		case 'refused':
			return [InstanceStatus.AuthenticationFailure, text]
		case 'read-only':
			return [InstanceStatus.UnknownWarning, text]
		default:
			return [InstanceStatus.ConnectionFailure, text]
	}
}

module.exports = { configFields, configProblem, hubStatus, kPanelPort }
